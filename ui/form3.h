#pragma once
// The destination chooser: drive and folder lists, a new-folder button and "&Ok". It
// starts on the wizard's destination, refuses unsuitable drives, too little free space and
// a folder too long to install into, and hands back what the user chose as it closes.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/forms/dir_list.h"
#include "platform/forms/drive_list.h"
#include "platform/forms/form.h"
#include "platform/text/fixed_text.h"

namespace ui {

class Form3 : public platform::Form {
 public:
  // The chooser starts on the wizard's destination, trimmed, as it is at this moment.
  Form3(platform::Platform& platform, const platform::FixedText& destination);

  // Runs as the chooser closes, however it closes (it must be set); Choice() then holds what
  // it hands back.
  platform::EventHandler<> Closed;
  // The folder confirmed with "&Ok"; nothing when the user left otherwise or confirmed a
  // drive root, which is never taken.
  const std::optional<std::string>& Choice() const { return choice_; }

  // Controls, in tab order.
  platform::DirList Dir1;
  platform::DriveList Drive1;
  platform::CommandButton Command1;
  platform::CommandButton Command2;
  platform::Label Label1;
  platform::Label Label2;
  platform::Label Label3;

 protected:
  void Form_Load() override;
  void Form_Unload(std::int16_t& cancel) override;

 private:
  void Drive1_Change();
  void Command1_Click();
  void Command2_Click();
  std::int32_t GetFreeSpaceKB();

  void ShowFreeSpace();
  bool SelectDrive(const std::string& drive);
  bool OpenFolder(const std::string& path);
  void ReturnToShownFolder();
  void ReportUnopened(const std::string& path);
  void ReportFailure(const std::string& text);

  std::string start_;  // the folder that the chooser opens on
  std::optional<std::string> choice_;
};

}  // namespace ui
