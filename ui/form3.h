#pragma once
// The destination chooser: drive and folder lists, a new-folder button and "&Ok". It
// starts on the wizard's destination, refuses unsuitable drives and too little free
// space, and hands back what the user chose as it closes.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/dir_list.h"
#include "platform/drive_list.h"
#include "platform/form.h"

namespace ui {

class Form3 : public platform::Form {
 public:
  // Receives, as the chooser closes, the folder confirmed with "&Ok", or nothing when the
  // user left otherwise or confirmed a drive root (which is never taken).
  using ClosedHandler = std::function<void(const std::optional<std::string>& folder)>;

  // `destination` is the wizard's (trimmed) destination, where the chooser starts.
  Form3(platform::Platform& platform, std::string destination, ClosedHandler closed);

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
  void ReportUnopened(const std::string& path);
  void ReportFailure(const std::string& text);

  const std::string destination_;
  const ClosedHandler closed_;
};

}  // namespace ui
