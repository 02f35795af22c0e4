#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What cmdrunner tells its caller on standard output, word for word: callers
// match these texts, so every place that shows them takes them from here.
namespace messages {

inline constexpr std::string_view kNoArguments = "Fatal Error: No arguments were specified.";
inline constexpr std::string_view kInvalidArgumentCount = "Fatal Error: Invalid argument count.";
inline constexpr std::string_view kNoCommands = "Fatal Error: No commands specified";
inline constexpr std::string_view kUnhandledException = "Fatal Error: Unhandled exception.";
// The launcher's text for a tool that could not be started.
inline constexpr std::string_view kLaunchFailed = "NSTaskMBS failed on 'launch' command.";

std::string ToolNotFound(std::string_view tool_path);

// The command-error report up to and including "Result: "; the launcher's
// text follows as it stands.
std::string CommandErrorReportHead(int32_t status, std::string_view tool_path, const std::vector<std::string>& values);

}  // namespace messages
