#pragma once
// The line protocol between the installer's automation client and the stand-in CAD server.
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

#include <string>
#include <string_view>
#include <vector>

namespace zovlt::wire {

inline constexpr std::string_view kReady = "ready";
inline constexpr std::string_view kOk = "ok";
inline constexpr std::string_view kError = "error";

std::string JoinFields(const std::vector<std::string>& fields);
std::vector<std::string> SplitFields(std::string_view line);

}  // namespace zovlt::wire
