#pragma once

// What a Windows program without a console of its own needs to behave on the
// command line as it does elsewhere. Built on Windows only.

#include <string>
#include <vector>

namespace windows {

/// The program's arguments (without its own name) as UTF-8, from the wide
/// command line: the narrow argv of Windows holds only what the ANSI code
/// page can, with '?' for the rest.
std::vector<std::string> utf8Arguments();

/// Sends standard output and error to the console the program was started
/// from (cmd.exe, PowerShell), when they lead nowhere: a GUI program gets no
/// console of its own, and its output would be lost. Streams the caller
/// redirected to a file or pipe stay as they are. Text to the console is
/// written as UTF-8 (its code page is set so, and put back at exit).
void useParentConsole();

/// Standard input, output and error as bytes, with no CR LF translation and
/// no end at a ^Z: the same bytes in and out as on every other system.
void useBinaryStandardStreams();

} // namespace windows
