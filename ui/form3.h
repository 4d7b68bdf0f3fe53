#pragma once
// The destination chooser: drive and folder lists, a new-folder button and "&Ok". It
// starts on the wizard's destination, refuses unsuitable drives and too little free
// space, and hands the chosen folder back through the destination and the wizard's label.
#include <cstdint>
#include <string>

#include "platform/forms/dir_list.h"
#include "platform/forms/drive_list.h"
#include "platform/forms/form.h"
#include "platform/text/fixed_text.h"

namespace ui {

class Form3 : public platform::Form {
 public:
  // `installDir` is the shared destination, `label10` the wizard's label that shows it,
  // `wizard` the window that comes back when the chooser closes.
  Form3(platform::Platform& platform, platform::FixedText& installDir, platform::Label& label10,
        platform::Form& wizard);

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
  void Form_QueryUnload(std::int16_t& cancel, platform::UnloadMode mode) override;

 private:
  void Drive1_Change();
  void Command1_Click();
  void Command2_Click();
  std::int32_t GetFreeSpaceKB();

  void ShowFreeSpace();
  bool SelectDrive(const std::string& drive);
  bool OpenFolder(const std::string& path);
  void ReturnToShownFolder();
  void RestoreShownDestination();
  void ReportUnopened(const std::string& path);
  void ReportFailure(const std::string& text);

  platform::FixedText& installDir_;
  platform::Label& label10_;
  platform::Form& wizard_;
};

}  // namespace ui
