#include "platform/dde_link.h"

#include "platform/failure.h"

namespace platform {

DdeLink::~DdeLink() { Close(); }

void DdeLink::Close() {
  if (conversation_ != 0) dde_.Disconnect(conversation_);
  conversation_ = 0;
  mode_ = LinkMode::kNone;
}

void DdeLink::SetLinkMode(LinkMode mode) {
  Close();
  if (mode == LinkMode::kNone) return;
  const auto bar = topic_.find('|');
  const std::string application = topic_.substr(0, bar);
  const std::string topic = bar == std::string::npos ? std::string() : topic_.substr(bar + 1);
  conversation_ = dde_.Connect(application, topic);
  if (conversation_ == 0) {
    throw PlatformFailure("No application responded to the DDE conversation \"" + topic_ +
                          "\": Program Manager's interface is not available.");
  }
  mode_ = mode;
}

void DdeLink::LinkExecute(const std::string& command) {
  if (conversation_ == 0) throw PlatformFailure("No DDE conversation is open for the command " + command);
  if (!dde_.Execute(conversation_, command)) {
    throw PlatformFailure("The application \"" + topic_ + "\" refused the DDE command " + command);
  }
}

}  // namespace platform
