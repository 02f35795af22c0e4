#pragma once

#include <ostream>
#include <string>
#include <vector>

// Tells what `cmdrunner WORD...` would do with these words, starting nothing:
// for each command in order, its tool path, whether the tool exists and can
// be started, the argv it would receive (and the empty values left out),
// fail_on_error as cmdrunner reads it; and for a run that cmdrunner would
// refuse or stop, the status and message it would give. The words are read
// with the same functions cmdrunner reads them with.
void Explain(const std::vector<std::string>& words, std::ostream& out);

// The text in double quotes, with backslash escapes for the quote, the
// backslash, tab, line feed, carriage return and every other control byte
// (\xHH), so that each quoted text stays on one line and reads back exactly.
std::string Quote(std::string_view text);
