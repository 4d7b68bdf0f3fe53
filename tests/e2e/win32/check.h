#pragma once
// A small harness for the Windows backend's tests: they run under Wine, where no test
// framework of the host is at hand. A failed check prints its place and what it expected;
// the program ends with 0 when every check passed, 1 otherwise.
#include <string>

namespace backend_test {

void Check(bool passed, const char* what, const char* file, int line);
void Section(const char* name);
int Failures();

// A folder of the test's own under the system's temporary folder, with a trailing "\".
std::string Scratch();

}  // namespace backend_test

#define CHECK(condition) ::backend_test::Check((condition), #condition, __FILE__, __LINE__)

namespace backend_test {

// The groups of tests, one per file.
void ServiceTests();
void ToolkitTests();
void FormTests();
// The wizard's longest finish text in its label.
void FinishTextTests();
// Apart from the others: they start the shell's COM machinery in the test's process.
void ShellStartTests();

// Starting a program: the started copy of the test writes where it runs and who started it,
// then ends; the limited copy runs the start tests of a process without elevation.
int RunAsStartedChild();
int RunAsLimitedCopy();

}  // namespace backend_test
