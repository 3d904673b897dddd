// qxadmin: creates an installation of the suite and its companies, and edits
// the companies' data (users, branches, charts, histories, configuration).

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli.h"
#include "platform/environment.h"

namespace {

constexpr const char* kUsage =
    "usage: qxadmin [--registry FILE] COMMAND ...\n"
    "  install FOLDER                          create or complete an installation\n"
    "  company add CODE [--name NAME] [--folder DIR] [--sample]\n"
    "  company list\n"
    "  user add COMPANY NUMBER NAME [--branches 1,2,...]\n"
    "  user list COMPANY\n"
    "  branch add COMPANY NUMBER NAME\n"
    "  branch list COMPANY\n"
    "  branch activate|deactivate COMPANY USER BRANCH\n"
    "  account add COMPANY C|G NUMBER CLASSIFICATION T|A NAME [--parent NUMBER]\n"
    "  account list COMPANY [C|G]\n"
    "  history add COMPANY CODE TEXT [--short TEXT]\n"
    "  history list COMPANY\n"
    "  config show COMPANY\n"
    "  config set COMPANY NAME VALUE          (config show lists the names)\n"
    "  log list COMPANY                        the change log\n"
    "  ged list COMPANY                        document-management notifications\n"
    "  ged lock|unlock COMPANY ENTRY-KEY\n"
    "  default HOME                            the embedded default installation under\n"
    "                                          $QX_HOME, else HOME; prints QX_REGISTRY=...\n"
    "The registry is FILE, else $QX_REGISTRY, else /etc/qx/registry.reg (for default:\n"
    "HOME/registry.reg). Texts are UTF-8.\n";

using Grouped = int (*)(qxadmin::Context&, const std::string&, qxadmin::Args);
using Single = int (*)(qxadmin::Context&, qxadmin::Args);

struct Command {
  const char* name;
  Grouped grouped;  // takes an action word ("add", "list", ...)
  Single single;
};

constexpr Command kCommands[] = {
    {"install", nullptr, qxadmin::Install},        {"default", nullptr, qxadmin::Default},
    {"company", qxadmin::CompanyCommand, nullptr}, {"user", qxadmin::UserCommand, nullptr},
    {"branch", qxadmin::BranchCommand, nullptr},   {"account", qxadmin::AccountCommand, nullptr},
    {"history", qxadmin::HistoryCommand, nullptr}, {"config", qxadmin::ConfigCommand, nullptr},
    {"log", qxadmin::LogCommand, nullptr},         {"ged", qxadmin::GedCommand, nullptr},
};

int Run(std::vector<std::string> words) {
  qxadmin::Context context{qx::Registry::Default(), false};
  context.registryGiven = !qx::GetEnvironmentText("QX_REGISTRY").empty();
  if (words.size() >= 2 && words[0] == "--registry") {
    context.registry = qx::Registry(words[1], "");
    context.registryGiven = true;
    words.erase(words.begin(), words.begin() + 2);
  }
  if (words.empty() || words[0] == "help" || words[0] == "--help") {
    std::fputs(kUsage, words.empty() ? stderr : stdout);
    return words.empty() ? 2 : 0;
  }
  for (const Command& command : kCommands) {
    if (words[0] != command.name) continue;
    if (command.single != nullptr) {
      return command.single(context, qxadmin::Args({words.begin() + 1, words.end()}));
    }
    if (words.size() < 2) qxadmin::Usage(std::string(command.name) + " needs an action");
    return command.grouped(context, words[1], qxadmin::Args({words.begin() + 2, words.end()}));
  }
  qxadmin::Usage("unknown command " + words[0]);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const qxadmin::Failure& failure) {
    std::fprintf(stderr, "qxadmin: %s\n", failure.what());
    return failure.status();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "qxadmin: %s\n", error.what());
    return 1;
  }
}
