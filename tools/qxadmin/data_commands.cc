// Users, branches, charts of accounts and the natures of their accounts, and
// standard histories of a company.
#include <string>
#include <vector>

#include "cli.h"
#include "outside/admin/company_admin.h"
#include "outside/database/naturezas.h"
#include "platform/codepage.h"
#include "reports/natureza.h"
#include "reports/niveis.h"

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

// What to say when the classification's levels are not as wide as those of
// the chart's other accounts: a total sums only the accounts at or below its
// level, so "1.10" beside "1.1" is no account of "1.1".
Tabela WidthWarning(qx::SuiteDatabase& db, const qx::ContaCadastro& account) {
  std::vector<qx::ContaCadastro> chart;
  Done(db, qx::ListaContas(db, account.plano, &chart), "ler as contas");
  std::vector<std::string> classifications;
  for (const qx::ContaCadastro& c : chart) classifications.push_back(c.classificacao);
  const auto width = qx::ConfereLarguras(classifications, account.classificacao);
  Tabela warning({"campo", "valor", "aviso"});
  if (!width) return warning;
  warning.Linha(
      {"classificação", TextoCp1252(account.classificacao),
       "o nível " + std::to_string(width->nivel) + " tem " + std::to_string(width->largura) +
           " caractere(s) e o plano usa " + std::to_string(width->doPlano) + " (como em " +
           qx::Cp1252ToUtf8(width->exemplo) +
           "): uma conta totalizadora soma só as contas do seu nível e abaixo, e as contas de " +
           "largura diferente ficam fora dos totais que parecem conter"});
  return warning;
}

void AddAccount(const Argumentos& args, Contexto& contexto, Saida& saida) {
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
  const Tabela warning = WidthWarning(*db, account);
  Done(*db, qx::AdicionaConta(*db, account), "incluir a conta");
  if (!warning.Vazia()) saida.Mostra("avisos", "Aviso:", warning);
}

std::vector<qx::RegraNatureza> Natures(qx::SuiteDatabase& db) {
  std::vector<qx::RegraNatureza> rules;
  Done(db, qx::ListaNaturezas(db, &rules), "ler as naturezas");
  return rules;
}

// The accounts, those of the accounting chart with the nature their rules give.
void ListAccounts(const Argumentos& args, Contexto& contexto, Saida& saida) {
  const char chart =
      args.Posicionais().size() > 1 ? Letter(args.Posicionais()[1], "CG", "PLANO") : '\0';
  std::vector<qx::RegraNatureza> rules;
  ShowList<qx::ContaCadastro>(
      args, contexto, saida, "ler as contas", "contas",
      {"plano", "conta", "classificacao", "tipo", "nome", "superior", "natureza"},
      [chart, &rules](qx::SuiteDatabase& db, std::vector<qx::ContaCadastro>* accounts) {
        rules = Natures(db);
        return qx::ListaContas(db, chart, accounts);
      },
      [&rules](const qx::ContaCadastro& a) -> std::vector<Celula> {
        const qx::Natureza nature = a.plano == 'C'
                                        ? qx::NaturezaDaClassificacao(rules, a.classificacao)
                                        : qx::Natureza::kNenhuma;
        return {std::string(1, a.plano),      a.conta,
                TextoCp1252(a.classificacao), std::string(1, a.tipo),
                TextoCp1252(a.nome),          a.contaSuperior,
                qx::NomeNatureza(nature)};
      });
}

std::string NatureNames() {
  std::string names;
  for (const qx::NomeDeNatureza& n : qx::NomesDeNatureza()) {
    names += (names.empty() ? "" : ", ") + std::string(n.nome);
  }
  return names;
}

void ListNatures(const Argumentos& args, Contexto& contexto, Saida& saida) {
  auto db = Company(args, contexto);
  Tabela tabela({"classificacao", "natureza", "descricao"});
  for (const qx::RegraNatureza& rule : Natures(*db)) {
    tabela.Linha({TextoCp1252(rule.classificacao), qx::NomeNatureza(rule.natureza),
                  qx::DescricaoNatureza(rule.natureza)});
  }
  saida.Mostra("naturezas", "", tabela);
}

void SetNature(const Argumentos& args, Contexto& contexto, Saida&) {
  const std::string& name = args.Posicionais()[2];
  const std::optional<qx::Natureza> nature = qx::NaturezaDoNome(name);
  if (!nature) throw ErroUso{"NATUREZA: " + name + " (use " + NatureNames() + ")"};
  auto db = Company(args, contexto);
  Done(*db, qx::DefineNatureza(*db, {Word(args, 1), *nature}), "definir a natureza");
}

void RemoveNature(const Argumentos& args, Contexto& contexto, Saida&) {
  auto db = Company(args, contexto);
  Done(*db, qx::RemoveNatureza(*db, Word(args, 1)), "remover a natureza");
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
      {"natureza lista",
       "EMPRESA",
       "as regras que dão a natureza das contas do plano contábil pela classificação",
       {},
       ComContexto(ListNatures)},
      {"natureza define",
       "EMPRESA CLASSIFICACAO NATUREZA",
       "as contas da classificação e abaixo dela têm a NATUREZA (" + NatureNames() +
           "), salvo uma regra mais longa",
       {},
       ComContexto(SetNature)},
      {"natureza remove",
       "EMPRESA CLASSIFICACAO",
       "tira a regra da classificação",
       {},
       ComContexto(RemoveNature)},
      {"history add",
       "EMPRESA CODIGO TEXTO",
       "inclui um histórico padrão",
       {{"short", "TEXTO", "a abreviação"}},
       ComContexto(AddHistory)},
      {"history list", "EMPRESA", "os históricos padrão", {}, ComContexto(ListHistories)},
  };
}

}  // namespace qxadmin
