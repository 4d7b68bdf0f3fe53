#include "platform/forms/dde_link.h"

namespace platform {

DdeLink::~DdeLink() { Close(); }

void DdeLink::Close() {
  if (conversation_ != 0) dde_.Disconnect(conversation_);
  conversation_ = 0;
  mode_ = LinkMode::kNone;
}

bool DdeLink::SetLinkMode(LinkMode mode) {
  Close();
  if (mode == LinkMode::kNone) return true;
  const auto bar = topic_.find('|');
  const std::string application = topic_.substr(0, bar);
  const std::string topic = bar == std::string::npos ? std::string() : topic_.substr(bar + 1);
  conversation_ = dde_.Connect(application, topic);
  if (conversation_ == 0) return false;
  mode_ = mode;
  return true;
}

bool DdeLink::LinkExecute(const std::string& command) {
  return conversation_ != 0 && dde_.Execute(conversation_, command);
}

}  // namespace platform
