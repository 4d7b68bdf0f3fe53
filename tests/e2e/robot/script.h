#pragma once
// The robot's script: one action per line, words separated by blanks. A word in double
// quotes may hold blanks; "" inside it stands for one quote; backslashes are plain
// characters, so Windows paths need no escaping. A line whose first word starts with #
// is a comment. ${NAME} is replaced by a value given on the robot's command line.
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace robot {

struct Step {
  int line = 0;
  std::string text;                // the line as written, for messages
  std::vector<std::string> words;  // the action first, then its arguments
};

using Definitions = std::map<std::string, std::string>;

// A line that cannot be read.
class ScriptError : public std::runtime_error {
 public:
  ScriptError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

std::vector<Step> ParseScript(const std::string& text, const Definitions& definitions);

}  // namespace robot
