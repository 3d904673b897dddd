// The fixture of the tools' tests: the tools run as people run them, against
// the server through the local-server runtime, on a temporary default
// installation with the server registered, DEMO keeping foreign-currency
// amounts and its period from 2026 (to 2027 for qxcn's tests).
#pragma once

#include <gmock/gmock.h>
#include <stdlib.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../platform/ostrel_program.h"
#include "../storage/qxdump_json.h"
#include "../storage/qxdump_run.h"

namespace qx::test {

using ::testing::HasSubstr;

// `args`, then `mais`.
inline std::vector<std::string> Com(std::vector<std::string> args,
                                    const std::vector<std::string>& mais) {
  args.insert(args.end(), mais.begin(), mais.end());
  return args;
}

// qxcn's arguments for a new entry.
inline std::vector<std::string> Lanca(const std::string& data, const std::string& debito,
                                      const std::string& credito, const std::string& valor,
                                      const std::vector<std::string>& mais = {}) {
  return Com({"grava", "--data", data, "--debito", debito, "--credito", credito, "--valor", valor},
             mais);
}

class Qxcn : public ::testing::Test {
 protected:
  // The installation, DEMO's settings, then the server registered.
  static void SetUpTestSuite() {
    dir_ = new TempDir();
    IsolaFerramentas(*dir_);
    for (const std::vector<std::string>& passo : std::vector<std::vector<std::string>>{
             {"default", *dir_ / "home"},
             {"config", "set", "DEMO", "foreign-currency", "1"},
             {"config", "set", "DEMO", "period-start", "01/01/2026"},
             {"config", "set", "DEMO", "period-end", "31/12/2027"}}) {
      ASSERT_EQ(Admin(passo).code, 0) << passo[0];
    }
    test::RegisterOstrel();
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  static DumpRun Run(const std::vector<std::string>& args) {
    return RunTool(*dir_, ToolBinary("qxcn"), args);
  }
  static DumpRun Admin(const std::vector<std::string>& args) {
    return RunTool(*dir_, ToolBinary("qxadmin"), args);
  }
  // A run that must end with `codigo` (succeed, by default), saying each of
  // `textos` on standard error.
  static DumpRun RunEnds(const std::vector<std::string>& args, int codigo = 0,
                        const std::vector<std::string>& textos = {}) {
    const DumpRun run = Run(args);
    EXPECT_EQ(run.code, codigo) << args[0] << ": " << run.err;
    for (const std::string& texto : textos) EXPECT_THAT(run.err, HasSubstr(texto)) << args[0];
    return run;
  }
  // A run that must end with `codigo` (succeed, by default), with --json: its
  // output parsed, or with `erro` the error object on standard error.
  static Json RunJson(std::vector<std::string> args, int codigo = 0, bool erro = false) {
    args.push_back("--json");
    const DumpRun run = Run(args);
    EXPECT_EQ(run.code, codigo) << run.err << run.out;
    const std::string& texto = erro ? run.err : run.out;
    const std::optional<Json> json = ParseJson(texto);
    EXPECT_TRUE(json.has_value()) << "not JSON: " << texto;
    return json.value_or(Json::object());
  }
  static Json ErroJson(const std::vector<std::string>& args) { return RunJson(args, 1, true); }
  static std::string Pasta(const std::string& arquivo) {
    return *dir_ / ("home/suite/Empresas/DEMO/CN/" + arquivo);
  }
  static std::string Lote(Json importacao) {
    return std::to_string(importacao["importacao"][0]["lote"].get<int64_t>());
  }
  // The lines an import refused, each refusal saying its reason's part of `motivos`.
  static std::vector<int> Recusadas(const Json& importacao,
                                    const std::vector<std::string>& motivos) {
    std::vector<int> linhas;
    for (const Json& erro : importacao["erros"]) {
      EXPECT_THAT(erro["motivo"].get<std::string>(), HasSubstr(motivos.at(linhas.size())));
      linhas.push_back(erro["linha"].get<int>());
    }
    return linhas;
  }

  // Starts the tool in the background, its output caught in the folder
  // `nome` (with its process id in "pid"); Finish waits for it.
  static std::string Start(const std::vector<std::string>& args, const std::string& nome,
                           const std::string& tool = "qxcn") {
    const std::string pasta = *dir_ / nome;
    std::ostringstream command;
    command << "mkdir -p " << Quoted(pasta) << "; cd " << Quoted(dir_->path()) << " && ( "
            << Quoted(ToolBinary(tool));
    for (const std::string& arg : args) command << ' ' << Quoted(arg);
    command << " >" << Quoted(pasta + "/out") << " 2>" << Quoted(pasta + "/err") << " & echo $! >"
            << Quoted(pasta + "/pid") << "; wait $!; echo $? >" << Quoted(pasta + "/rc.tmp")
            << "; mv " << Quoted(pasta + "/rc.tmp") << ' ' << Quoted(pasta + "/rc") << " ) &";
    EXPECT_EQ(std::system(command.str().c_str()), 0);
    return pasta;
  }
  static DumpRun Finish(const std::string& pasta) {
    DumpRun run;
    if (!Until([&] { return std::filesystem::exists(pasta + "/rc"); })) return run;
    run.code = std::atoi(ReadText(pasta + "/rc").c_str());
    run.out = ReadText(pasta + "/out");
    run.err = ReadText(pasta + "/err");
    return run;
  }
  // Polls every 20 ms for up to 60 s; the last answer.
  static bool Until(const std::function<bool()>& done) {
    for (int i = 0; i < 3000 && !done(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return done();
  }

  static inline TempDir* dir_ = nullptr;
};

}  // namespace qx::test
