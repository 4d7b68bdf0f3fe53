#pragma once
// The DDE client link that a control can hold: the application and topic to talk to, the
// item, and the mode that opens and closes the conversation.
#include <cstdint>
#include <string>

#include "platform/services/dde_api.h"

namespace platform {

enum class LinkMode : std::uint8_t {
  kNone = 0,    // no link: setting it closes an open conversation
  kManual = 2,  // setting it opens the conversation, without any automatic exchange
};

class DdeLink {
 public:
  explicit DdeLink(DdeApi& dde) : dde_(dde) {}
  ~DdeLink();
  DdeLink(const DdeLink&) = delete;
  DdeLink& operator=(const DdeLink&) = delete;

  // The application and the topic joined by "|", as "Progman|progman".
  void SetLinkTopic(std::string topic) { topic_ = std::move(topic); }
  void SetLinkItem(std::string item) { item_ = std::move(item); }
  // Closes any open conversation, then opens one for kManual: false when no application
  // answers, and the link stays closed.
  bool SetLinkMode(LinkMode mode);
  // Sends one command over the open conversation and waits for its acknowledgement; false
  // when no conversation is open or the application refused the command.
  bool LinkExecute(const std::string& command);

  LinkMode Mode() const { return mode_; }

 private:
  void Close();

  DdeApi& dde_;
  std::string topic_;
  std::string item_;
  LinkMode mode_ = LinkMode::kNone;
  DdeConversation conversation_ = 0;
};

}  // namespace platform
