#pragma once
// The window toolkit and runtime services that the forms and procedures use.
// A backend implements it: win32/ with real windows, portable/ headless.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/services/failure.h"

namespace platform {

class Form;
class FormPeer;

// Message box styles (added together) and the buttons a message box returns.
namespace MsgBoxStyle {
constexpr int kOkOnly = 0;
constexpr int kYesNo = 4;
constexpr int kRetryCancel = 5;
constexpr int kQuestion = 32;
constexpr int kExclamation = 48;
constexpr int kDefaultButton2 = 256;
constexpr int kSystemModal = 4096;
}  // namespace MsgBoxStyle

enum MsgBoxResult : int { kOk = 1, kCancel = 2, kRetry = 4, kYes = 6, kNo = 7 };

// What became of a program to start. An elevated program starts the user's programs with the
// user's own rights or not at all: kOnlyElevated when that could not be done.
enum class StartResult { kStarted, kFailed, kOnlyElevated };

// A rectangle in pixels, as the system reports the work area.
struct PixelRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

class Toolkit {
 public:
  virtual ~Toolkit() = default;

  // Shows a message box and returns the button pressed.
  virtual int MsgBox(const std::string& text, int style, const std::string& title) = 0;
  // Asks for a line of text; an empty text when cancelled.
  virtual std::string InputBox(const std::string& prompt, const std::string& title,
                               const std::string& defaultText) = 0;
  // Lets the pending events through once.
  virtual void DoEvents() = 0;
  // Starts a program by its full path, in a normal window with the focus, without waiting.
  virtual StartResult StartProgram(const std::string& path) = 0;
  // Claims the one running instance of the program under `name`, for as long as it runs;
  // false when another instance holds it. A program with administrator rights counts only a
  // claim made with them, so that no program without them can stop it. A system that cannot
  // tell lets every claim pass.
  virtual bool ClaimInstance(const std::string& name) = 0;
  // Ends the program at once: no further event handler of any window runs.
  [[noreturn]] virtual void EndProgram() = 0;
  // Ends the program after a platform failure that nothing handles: shows the error report
  // naming it, runs the registered clean-up, and ends the program.
  [[noreturn]] virtual void Fail(const std::string& text) = 0;
  // The clean-up that a failure runs; a later one replaces it, an empty one removes it.
  virtual void SetFailureCleanUp(FailureCleanUp cleanUp) = 0;

  // The part of the screen not covered by task bars (SystemParametersInfo, SPI_GETWORKAREA).
  virtual bool GetWorkArea(PixelRect& area) = 0;
  // The screen's pixels per inch, the same in both directions (96 at 100 %); twips.h converts
  // by it.
  virtual int PixelsPerInch() = 0;
  // The user's thousands separator, for figures grouped in threes ("," or "." or a blank).
  virtual std::string ThousandsSeparator() = 0;

  // The program's own file, the one that the system started it from: the setup file.
  virtual std::string ProgramFile() = 0;

  // The backend's mirror of a form that is being loaded.
  virtual std::unique_ptr<FormPeer> CreateFormPeer(Form& form) = 0;
};

}  // namespace platform
