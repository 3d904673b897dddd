// Users, branches, charts of accounts and standard histories of a company.
#include <string>
#include <vector>

#include "cli.h"
#include "outside/company_admin.h"

namespace qxadmin {
namespace {

// "1,2,3" as branch numbers.
std::vector<int32_t> Branches(const std::string& text) {
  std::vector<int32_t> branches;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    branches.push_back(
        static_cast<int32_t>(Number(text.substr(start, comma - start), 1, 65535, "a branch")));
    start = comma + 1;
  }
  return branches;
}

std::string BranchList(const std::vector<int32_t>& branches) {
  std::string text;
  for (const int32_t branch : branches) {
    text += (text.empty() ? "" : ",") + std::to_string(branch);
  }
  return text.empty() ? "-" : text;
}

char Letter(const std::string& text, const char* allowed, const std::string& what) {
  if (text.size() != 1 || std::string(allowed).find(text[0]) == std::string::npos) {
    Usage(what + " must be one of " + allowed);
  }
  return text[0];
}

void Done(qx::SuiteDatabase& db, HRESULT hr) { Check(hr, db.message()); }

}  // namespace

int UserCommand(Context& context, const std::string& action, Args args) {
  if (action == "add") {
    const std::optional<std::string> branches = args.Option("--branches");
    const std::vector<std::string> words = args.Positional(3, 3);
    qx::UsuarioCadastro user;
    user.numero = static_cast<uint16_t>(Number(words[1], 0, 65535, "the user"));
    user.nome = words[2];
    if (branches) user.filiaisAtivas = Branches(*branches);
    auto db = context.Company(words[0]);
    Done(*db, qx::AdicionaUsuario(*db, user));
    return 0;
  }
  if (action == "list") {
    auto db = context.Company(args.Positional(1, 1)[0]);
    std::vector<qx::UsuarioCadastro> users;
    Done(*db, qx::ListaUsuarios(*db, &users));
    for (const qx::UsuarioCadastro& user : users) {
      PrintLine(std::to_string(user.numero) + "\t" + user.nome + "\t" +
                BranchList(user.filiaisAtivas));
    }
    return 0;
  }
  Usage("unknown action user " + action);
}

int BranchCommand(Context& context, const std::string& action, Args args) {
  if (action == "add") {
    const std::vector<std::string> words = args.Positional(3, 3);
    const qx::FilialCadastro branch{static_cast<int32_t>(Number(words[1], 1, 65535, "the branch")),
                                    words[2]};
    auto db = context.Company(words[0]);
    Done(*db, qx::AdicionaFilial(*db, branch));
    return 0;
  }
  if (action == "list") {
    auto db = context.Company(args.Positional(1, 1)[0]);
    std::vector<qx::FilialCadastro> branches;
    Done(*db, qx::ListaFiliais(*db, &branches));
    for (const qx::FilialCadastro& branch : branches) {
      PrintLine(std::to_string(branch.numero) + "\t" + branch.nome);
    }
    return 0;
  }
  if (action == "activate" || action == "deactivate") {
    const std::vector<std::string> words = args.Positional(3, 3);
    const auto user = static_cast<uint16_t>(Number(words[1], 0, 65535, "the user"));
    const auto branch = static_cast<int32_t>(Number(words[2], 1, 65535, "the branch"));
    auto db = context.Company(words[0]);
    Done(*db, qx::DefineFilialAtiva(*db, user, branch, action == "activate"));
    return 0;
  }
  Usage("unknown action branch " + action);
}

int AccountCommand(Context& context, const std::string& action, Args args) {
  if (action == "add") {
    const std::optional<std::string> parent = args.Option("--parent");
    const std::vector<std::string> words = args.Positional(6, 6);
    qx::ContaCadastro account;
    account.plano = Letter(words[1], "CG", "the chart");
    account.conta = static_cast<int32_t>(Number(words[2], 1, INT32_MAX, "the account"));
    account.classificacao = words[3];
    account.tipo = Letter(words[4], "TA", "the account type");
    account.nome = words[5];
    if (parent)
      account.contaSuperior = static_cast<int32_t>(Number(*parent, 0, INT32_MAX, "--parent"));
    auto db = context.Company(words[0]);
    Done(*db, qx::AdicionaConta(*db, account));
    return 0;
  }
  if (action == "list") {
    const std::vector<std::string> words = args.Positional(1, 2);
    const char chart = words.size() > 1 ? Letter(words[1], "CG", "the chart") : '\0';
    auto db = context.Company(words[0]);
    std::vector<qx::ContaCadastro> accounts;
    Done(*db, qx::ListaContas(*db, chart, &accounts));
    for (const qx::ContaCadastro& a : accounts) {
      PrintLine(std::string(1, a.plano) + "\t" + std::to_string(a.conta) + "\t" + a.classificacao +
                "\t" + std::string(1, a.tipo) + "\t" + a.nome + "\t" +
                std::to_string(a.contaSuperior));
    }
    return 0;
  }
  Usage("unknown action account " + action);
}

int HistoryCommand(Context& context, const std::string& action, Args args) {
  if (action == "add") {
    const std::optional<std::string> shortName = args.Option("--short");
    const std::vector<std::string> words = args.Positional(3, 3);
    const qx::HistoricoCadastro history{
        static_cast<uint16_t>(Number(words[1], 1, 65535, "the history code")), words[2],
        shortName.value_or("")};
    auto db = context.Company(words[0]);
    Done(*db, qx::AdicionaHistorico(*db, history));
    return 0;
  }
  if (action == "list") {
    auto db = context.Company(args.Positional(1, 1)[0]);
    std::vector<qx::HistoricoCadastro> histories;
    Done(*db, qx::ListaHistoricos(*db, &histories));
    for (const qx::HistoricoCadastro& h : histories) {
      PrintLine(std::to_string(h.codigo) + "\t" + h.abreviacao + "\t" + h.texto);
    }
    return 0;
  }
  Usage("unknown action history " + action);
}

}  // namespace qxadmin
