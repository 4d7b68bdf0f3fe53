namespace ui {
class Form3;
}
#pragma once
// The wizard window: four pages, Back, Next and Cancel, the installation run on the last
// page, and the one way out of the program.
#include <memory>
#include <string>

#include "app/shared_state.h"
#include "payload/run_files.h"
#include "platform/forms/form.h"

namespace app {

class Form1 : public platform::Form {
  // The pages come first, since they hold controls declared below.
  platform::Frame pages_[4];

 public:
  Form1(platform::Platform& platform, SharedState& state);
  ~Form1() override;

  // The pages, as the control array Frame1(1) to Frame1(4).
  platform::Frame& Frame1(int index) { return pages_[index - 1]; }

  // Controls, in tab order.
  platform::Frame Frame2;
  platform::PictureBox Picture1;
  platform::Image Image1;
  platform::CommandButton Command1;
  platform::CommandButton Command2;
  platform::CommandButton Command3;
  platform::Label Label1;  // page 1
  platform::Label Label9;  // page 3
  platform::CommandButton Command4;
  platform::Label Label10;
  platform::Label Label11;  // page 4
  platform::Label Label12;
  platform::CheckBox Check1;
  platform::Label Label3;  // page 2
  platform::TextBox Text1;
  platform::OptionButton Option1;
  platform::OptionButton Option2;

  // The destination chooser, once "Change Dir" has opened it.
  ui::Form3* Chooser() const { return form3_.get(); }

 protected:
  void Form_Load() override;
  void Form_Unload(std::int16_t& cancel) override;

 private:
  void ShowPage();
  void ShowDestination();
  bool PrepareDestination();
  bool HasRoomFor(const std::string& destination);
  void InstallProduct();
  void StopRun(const std::string& reason);
  void DeleteTempFolder();
  int RemoveTempFolder();
  static void RemoveTempFolderAfterFailure(void* wizard);
  void StartApplication();

  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Form3_Closed();
  void Option1_Click();
  void Option2_Click();

  SharedState& state_;
  std::unique_ptr<ui::Form3> form3_;
  // The setup file, open from the start so that no other program can change it meanwhile;
  // null when it could not be opened.
  std::unique_ptr<platform::FileChannel> setupFile_;
  // The run's own temporary folder and the items in it.
  payload::RunFolder runFolder_;
};

}  // namespace app
