#pragma once
// The line protocol between an automation client and a stand-in automation server.
//
// The client starts the server's command line as a child process; the server answers "ready"
// on standard output once its state is loaded. Then each call is one line on the server's
// standard input and its answer one line on its standard output. Fields are separated by a
// tab; "%", tab, CR and LF inside a field are written %25, %09, %0D and %0A.
//
//   request:  verb TAB member-path [TAB argument]     verb: get, put or call
//   answer:   ok [TAB value]  |  error TAB number TAB description
//
// A member path names the member as a caller of the automation object would, from the
// application object ("MenuGroups.Item(2).Name", "Documents(0).Close") or from an object
// that an earlier call returned as "#n" ("#1.Menus.Item(0).InsertInMenuBar"). Booleans
// travel as "True" or "False", numbers in plain decimal. Closing the server's standard input
// releases the application object.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kvl/Error.h"

namespace winhost::wire {

inline constexpr std::string_view kReady = "ready";

std::string JoinFields(const std::vector<std::string>& fields);
std::vector<std::string> SplitFields(std::string_view line);

// A request line.
std::string Request(std::string_view verb, std::string_view member,
                    const std::optional<std::string>& argument = std::nullopt);

// The server's answer lines: a value ("" for none) or a failure.
std::string Answer(const std::string& value);
std::string Answer(const kvl::Error& failure);

// The client's reading of an answer line: the value, or the failure thrown as kvl::Error
// (440, automation error, for a line that is no answer).
std::string ValueOf(std::string_view answer);

}  // namespace winhost::wire
