// The command line of qxadmin: arguments, their reading, and failures that
// end the program with a plain message.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "outside/suite_database.h"
#include "platform/com_types.h"
#include "platform/registry.h"

namespace qxadmin {

// Ends the command: the message goes to stderr, the status is the exit code
// (1 a failure, 2 a wrong command line).
class Failure : public std::runtime_error {
 public:
  Failure(const std::string& message, int status) : std::runtime_error(message), status_(status) {}
  int status() const { return status_; }

 private:
  int status_;
};

[[noreturn]] void Usage(const std::string& message);

// The arguments after the command's name. Texts come in UTF-8 and are handed
// out in Windows-1252, as the system keeps them.
class Args {
 public:
  explicit Args(std::vector<std::string> words) : words_(std::move(words)) {}

  // Removes "--name VALUE" and gives VALUE.
  std::optional<std::string> Option(const std::string& name);
  // Removes "--name" and tells whether it was there.
  bool Flag(const std::string& name);
  // The remaining words, which must be between min and max in number and
  // contain no option.
  std::vector<std::string> Positional(size_t min, size_t max);

 private:
  std::vector<std::string> words_;
};

// A whole decimal number within [min, max]; what names the value in a message.
int64_t Number(const std::string& text, int64_t min, int64_t max, const std::string& what);
// A date as YYYY-MM-DD, or "0" / "none" for no date: a CQXData day number.
uint32_t Date(const std::string& text, const std::string& what);
// A day number as YYYY-MM-DD, or "none".
std::string DateText(uint32_t day);

// UTF-8 -> Windows-1252 and back.
std::string FromTerminal(const std::string& utf8);
std::string ToTerminal(const std::string& cp1252);
void PrintLine(const std::string& cp1252);

// Stops with message (Windows-1252) when hr is a failure.
void Check(HRESULT hr, const std::string& message);

// What every command works on.
struct Context {
  qx::Registry registry;
  bool registryGiven = false;  // by --registry or QX_REGISTRY
  // Opens the company's database or stops.
  std::shared_ptr<qx::SuiteDatabase> Company(const std::string& code) const;
};

// The commands; each gives the exit status.
int Install(Context& context, Args args);
int CompanyCommand(Context& context, const std::string& action, Args args);
int Default(Context& context, Args args);
int UserCommand(Context& context, const std::string& action, Args args);
int BranchCommand(Context& context, const std::string& action, Args args);
int AccountCommand(Context& context, const std::string& action, Args args);
int HistoryCommand(Context& context, const std::string& action, Args args);
int ConfigCommand(Context& context, const std::string& action, Args args);
int LogCommand(Context& context, const std::string& action, Args args);
int GedCommand(Context& context, const std::string& action, Args args);

}  // namespace qxadmin
