// Users, branches, charts of accounts and standard histories of a company.
#include <string>
#include <vector>

#include "cli.h"
#include "outside/company_admin.h"
#include "platform/codepage.h"

namespace qxadmin {
namespace {

using qx::cli::TextoCp1252;

// "1,2,3" as branch numbers.
std::vector<int32_t> Branches(const Argumentos& args, const std::string& text) {
  std::vector<int32_t> branches;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    branches.push_back(static_cast<int32_t>(
        Number(args, text.substr(start, comma - start), 1, 65535, "--branches")));
    start = comma + 1;
  }
  return branches;
}

std::string BranchList(const std::vector<int32_t>& branches) {
  std::string text;
  for (const int32_t branch : branches) text += (text.empty() ? "" : ",") + std::to_string(branch);
  return text;
}

char Letter(const std::string& text, const char* allowed, const std::string& what) {
  if (text.size() != 1 || std::string(allowed).find(text[0]) == std::string::npos) {
    throw ErroUso{what + ": uma letra de " + allowed + ", não " + text};
  }
  return text[0];
}

// The company of the first word, opened.
std::shared_ptr<qx::SuiteDatabase> Company(const Argumentos& args, const Contexto& contexto) {
  return contexto.Company(Word(args, 0));
}

void Done(qx::SuiteDatabase& db, HRESULT hr, const std::string& what) {
  Check(hr, what, db.message());
}

void AddUser(const Argumentos& args, Contexto& contexto, Saida&) {
  qx::UsuarioCadastro user;
  user.numero = static_cast<uint16_t>(Number(args, args.Posicionais()[1], 0, 65535, "NUMERO"));
  user.nome = Word(args, 2);
  if (const auto branches = args.Valor("branches")) user.filiaisAtivas = Branches(args, *branches);
  auto db = Company(args, contexto);
  Done(*db, qx::AdicionaUsuario(*db, user), "incluir o usuário");
}

void ListUsers(const Argumentos& args, Contexto& contexto, Saida& saida) {
  ShowList<qx::UsuarioCadastro>(
      args, contexto, saida, "ler os usuários", "usuarios", {"usuario", "nome", "filiais"},
      qx::ListaUsuarios, [](const qx::UsuarioCadastro& u) -> std::vector<Celula> {
        return {u.numero, TextoCp1252(u.nome), BranchList(u.filiaisAtivas)};
      });
}

void AddBranch(const Argumentos& args, Contexto& contexto, Saida&) {
  const qx::FilialCadastro branch{
      static_cast<int32_t>(Number(args, args.Posicionais()[1], 1, 65535, "NUMERO")), Word(args, 2)};
  auto db = Company(args, contexto);
  Done(*db, qx::AdicionaFilial(*db, branch), "incluir a filial");
}

void ListBranches(const Argumentos& args, Contexto& contexto, Saida& saida) {
  ShowList<qx::FilialCadastro>(args, contexto, saida, "ler as filiais", "filiais",
                               {"filial", "nome"}, qx::ListaFiliais,
                               [](const qx::FilialCadastro& f) -> std::vector<Celula> {
                                 return {f.numero, TextoCp1252(f.nome)};
                               });
}

void ActivateBranch(const Argumentos& args, Contexto& contexto, bool active) {
  const auto user = static_cast<uint16_t>(Number(args, args.Posicionais()[1], 0, 65535, "USUARIO"));
  const auto branch = static_cast<int32_t>(Number(args, args.Posicionais()[2], 1, 65535, "FILIAL"));
  auto db = Company(args, contexto);
  Done(*db, qx::DefineFilialAtiva(*db, user, branch, active), "mudar a filial ativa");
}

void AddAccount(const Argumentos& args, Contexto& contexto, Saida&) {
  qx::ContaCadastro account;
  account.plano = Letter(args.Posicionais()[1], "CG", "PLANO");
  account.conta = static_cast<int32_t>(Number(args, args.Posicionais()[2], 1, INT32_MAX, "CONTA"));
  account.classificacao = Word(args, 3);
  account.tipo = Letter(args.Posicionais()[4], "TA", "TIPO");
  account.nome = Word(args, 5);
  if (const auto parent = args.Inteiro("parent", 0, INT32_MAX)) {
    account.contaSuperior = static_cast<int32_t>(*parent);
  }
  auto db = Company(args, contexto);
  Done(*db, qx::AdicionaConta(*db, account), "incluir a conta");
}

void ListAccounts(const Argumentos& args, Contexto& contexto, Saida& saida) {
  const char chart =
      args.Posicionais().size() > 1 ? Letter(args.Posicionais()[1], "CG", "PLANO") : '\0';
  ShowList<qx::ContaCadastro>(
      args, contexto, saida, "ler as contas", "contas",
      {"plano", "conta", "classificacao", "tipo", "nome", "superior"},
      [chart](qx::SuiteDatabase& db, std::vector<qx::ContaCadastro>* accounts) {
        return qx::ListaContas(db, chart, accounts);
      },
      [](const qx::ContaCadastro& a) -> std::vector<Celula> {
        return {std::string(1, a.plano),      a.conta,
                TextoCp1252(a.classificacao), std::string(1, a.tipo),
                TextoCp1252(a.nome),          a.contaSuperior};
      });
}

void AddHistory(const Argumentos& args, Contexto& contexto, Saida&) {
  const qx::HistoricoCadastro history{
      static_cast<uint16_t>(Number(args, args.Posicionais()[1], 1, 65535, "CODIGO")), Word(args, 2),
      qx::Utf8ToCp1252(args.Valor("short").value_or(""))};
  auto db = Company(args, contexto);
  Done(*db, qx::AdicionaHistorico(*db, history), "incluir o histórico");
}

void ListHistories(const Argumentos& args, Contexto& contexto, Saida& saida) {
  ShowList<qx::HistoricoCadastro>(
      args, contexto, saida, "ler os históricos", "historicos",
      {"historico", "abreviacao", "texto"}, qx::ListaHistoricos,
      [](const qx::HistoricoCadastro& h) -> std::vector<Celula> {
        return {h.codigo, TextoCp1252(h.abreviacao), TextoCp1252(h.texto)};
      });
}

}  // namespace

std::vector<Comando> DataCommands() {
  return {
      {"user add",
       "EMPRESA NUMERO NOME",
       "inclui um usuário",
       {{"branches", "1,2,...", "as filiais ativas do usuário"}},
       ComContexto(AddUser)},
      {"user list", "EMPRESA", "os usuários e as suas filiais ativas", {}, ComContexto(ListUsers)},
      {"branch add", "EMPRESA NUMERO NOME", "inclui uma filial", {}, ComContexto(AddBranch)},
      {"branch list", "EMPRESA", "as filiais", {}, ComContexto(ListBranches)},
      {"branch activate",
       "EMPRESA USUARIO FILIAL",
       "ativa uma filial para um usuário",
       {},
       ComContexto([](const Argumentos& a, Contexto& c, Saida&) { ActivateBranch(a, c, true); })},
      {"branch deactivate",
       "EMPRESA USUARIO FILIAL",
       "desativa uma filial para um usuário",
       {},
       ComContexto([](const Argumentos& a, Contexto& c, Saida&) { ActivateBranch(a, c, false); })},
      {"account add",
       "EMPRESA C|G CONTA CLASSIFICACAO T|A NOME",
       "inclui uma conta no plano contábil (C) ou gerencial (G), totalizadora (T) ou analítica (A)",
       {{"parent", "CONTA", "a conta superior"}},
       ComContexto(AddAccount)},
      {"account list",
       "EMPRESA [C|G]",
       "as contas de um plano, ou dos dois",
       {},
       ComContexto(ListAccounts)},
      {"history add",
       "EMPRESA CODIGO TEXTO",
       "inclui um histórico padrão",
       {{"short", "TEXTO", "a abreviação"}},
       ComContexto(AddHistory)},
      {"history list", "EMPRESA", "os históricos padrão", {}, ComContexto(ListHistories)},
  };
}

}  // namespace qxadmin
