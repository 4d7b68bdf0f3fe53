#include "tests/e2e/robot/script.h"

namespace robot {
namespace {

std::string Expand(const std::string& word, const Definitions& definitions, int line) {
  std::string out;
  for (std::size_t at = 0; at < word.size();) {
    if (word.compare(at, 2, "${") != 0) {
      out += word[at++];
      continue;
    }
    const std::size_t end = word.find('}', at);
    if (end == std::string::npos) throw ScriptError(line, "unclosed ${");
    const std::string name = word.substr(at + 2, end - at - 2);
    const auto found = definitions.find(name);
    if (found == definitions.end()) throw ScriptError(line, "${" + name + "} is not defined");
    out += found->second;
    at = end + 1;
  }
  return out;
}

// Reads one quoted word starting after its opening quote; `at` ends after the closing one.
std::string QuotedWord(const std::string& line, std::size_t& at, int number) {
  std::string word;
  for (;;) {
    if (at >= line.size()) throw ScriptError(number, "unclosed quote");
    const char c = line[at++];
    if (c != '"') {
      word += c;
    } else if (at < line.size() && line[at] == '"') {
      word += '"';
      ++at;
    } else {
      return word;
    }
  }
}

std::vector<std::string> SplitWords(const std::string& line, int number) {
  std::vector<std::string> words;
  std::size_t at = 0;
  for (;;) {
    at = line.find_first_not_of(" \t", at);
    if (at == std::string::npos) return words;
    if (line[at] == '"') {
      ++at;
      words.push_back(QuotedWord(line, at, number));
      if (at < line.size() && line[at] != ' ' && line[at] != '\t')
        throw ScriptError(number, "a blank must follow a closing quote");
    } else {
      const std::size_t end = line.find_first_of(" \t", at);
      words.push_back(line.substr(at, end - at));
      at = end;
    }
  }
}

std::string Trimmed(const std::string& line) {
  const std::size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

std::vector<Step> ParseScript(const std::string& text, const Definitions& definitions) {
  std::vector<Step> steps;
  int number = 0;
  for (std::size_t at = 0; at <= text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trimmed(text.substr(at, end - at));
    at = end + 1;
    ++number;
    if (line.empty() || line[0] == '#') continue;
    Step step{number, line, SplitWords(line, number)};
    for (std::string& word : step.words) word = Expand(word, definitions, number);
    steps.push_back(std::move(step));
  }
  return steps;
}

}  // namespace robot
