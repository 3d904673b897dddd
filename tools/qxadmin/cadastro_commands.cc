// The company's registration for the bookkeeping file (ECD): the legal
// entity, its signatories and the aggregation codes of the statements.
#include <string>
#include <vector>

#include "cli.h"
#include "outside/admin/company_registration.h"
#include "platform/codepage.h"
#include "values/registro_pj.h"

namespace qxadmin {
namespace {

using qx::cli::TextoCp1252;

// A date option: "0" or "nenhuma" for no date.
uint32_t DateValue(const Argumentos& args, const std::string& text, const std::string& what) {
  if (text == "0" || text == "nenhuma") return 0;
  return args.LeData(text, what).Value();
}

// The digits of a CNPJ or CPF as people write them; the text as given when it
// has other characters, so that the refusal shows it.
std::string Document(const std::string& text) {
  const std::string digits = qx::DigitosDocumento(text);
  return digits.empty() ? qx::Utf8ToCp1252(text) : digits;
}

// A phone as people write it, "(11) 3333-4444": the digits, the other
// characters kept so that the refusal shows them.
std::string Phone(const std::string& text) {
  std::string kept;
  for (const char c : text) {
    if (std::string_view("()-. ").find(c) == std::string_view::npos) kept += c;
  }
  return qx::Utf8ToCp1252(kept);
}

struct TextField {
  const char* option;
  std::string qx::CadastroPJ::*field;
  bool document;
};

constexpr TextField kTextFields[] = {
    {"razao-social", &qx::CadastroPJ::razaoSocial, false},
    {"cnpj", &qx::CadastroPJ::cnpj, true},
    {"uf", &qx::CadastroPJ::uf, false},
    {"municipio", &qx::CadastroPJ::municipio, false},
    {"nome-municipio", &qx::CadastroPJ::nomeMunicipio, false},
    {"inscricao-estadual", &qx::CadastroPJ::inscricaoEstadual, false},
    {"inscricao-municipal", &qx::CadastroPJ::inscricaoMunicipal, false},
    {"nire", &qx::CadastroPJ::nire, false},
};

void Show(const Argumentos& args, Contexto& contexto, Saida& saida) {
  auto db = contexto.Company(Word(args, 0));
  qx::CadastroPJ c;
  Check(qx::LeCadastroPJ(*db, &c), "ler o cadastro", db->message());
  Tabela tabela({"campo", "valor"});
  for (const TextField& f : kTextFields) tabela.Linha({f.option, TextoCp1252(c.*f.field)});
  tabela.Linha({"arquivamento", CQXData(c.dataArquivamento)});
  tabela.Linha({"conversao", CQXData(c.dataConversao)});
  tabela.Linha({"inicio-exercicio", c.mesInicioExercicio});
  tabela.Linha({"grande-porte", c.grandePorte});
  saida.Mostra("cadastro", "", tabela);
}

void Define(const Argumentos& args, Contexto& contexto, Saida&) {
  auto db = contexto.Company(Word(args, 0));
  qx::CadastroPJ c;
  Check(qx::LeCadastroPJ(*db, &c), "ler o cadastro", db->message());
  for (const TextField& f : kTextFields) {
    if (const auto v = args.Valor(f.option)) {
      c.*f.field = f.document ? Document(*v) : qx::Utf8ToCp1252(*v);
    }
  }
  if (const auto v = args.Valor("arquivamento"))
    c.dataArquivamento = DateValue(args, *v, "--arquivamento");
  if (const auto v = args.Valor("conversao")) c.dataConversao = DateValue(args, *v, "--conversao");
  if (const auto v = args.Inteiro("inicio-exercicio", 1, 12))
    c.mesInicioExercicio = static_cast<int>(*v);
  if (const auto v = args.Inteiro("grande-porte", 0, 1)) c.grandePorte = *v != 0;
  Check(qx::GravaCadastroPJ(*db, c), "gravar o cadastro", db->message());
}

void AddSignatory(const Argumentos& args, Contexto& contexto, Saida&) {
  qx::SignatarioCadastro s;
  s.documento = Document(args.Posicionais()[1]);
  s.qualificacao = Word(args, 2);
  s.nome = Word(args, 3);
  s.crc = qx::Utf8ToCp1252(args.Valor("crc").value_or(""));
  s.ufCrc = qx::Utf8ToCp1252(args.Valor("uf-crc").value_or(""));
  s.certidaoCrc = qx::Utf8ToCp1252(args.Valor("certidao").value_or(""));
  if (const auto v = args.Valor("validade-certidao")) {
    s.validadeCertidao = DateValue(args, *v, "--validade-certidao");
  }
  s.email = qx::Utf8ToCp1252(args.Valor("email").value_or(""));
  s.telefone = Phone(args.Valor("telefone").value_or(""));
  s.responsavelLegal = args.Marca("responsavel");
  auto db = contexto.Company(Word(args, 0));
  Check(qx::AdicionaSignatario(*db, s), "incluir o signatário", db->message());
}

void RemoveSignatory(const Argumentos& args, Contexto& contexto, Saida&) {
  auto db = contexto.Company(Word(args, 0));
  Check(qx::RemoveSignatario(*db, Document(args.Posicionais()[1]), Word(args, 2)),
        "excluir o signatário", db->message());
}

void ListSignatories(const Argumentos& args, Contexto& contexto, Saida& saida) {
  ShowList<qx::SignatarioCadastro>(args, contexto, saida, "ler os signatários", "signatarios",
                                   {"documento", "qualificacao", "nome", "crc", "uf_crc",
                                    "certidao", "validade", "email", "telefone", "responsavel"},
                                   qx::ListaSignatarios,
                                   [](const qx::SignatarioCadastro& s) -> std::vector<Celula> {
                                     return {s.documento,
                                             s.qualificacao,
                                             TextoCp1252(s.nome),
                                             TextoCp1252(s.crc),
                                             s.ufCrc,
                                             TextoCp1252(s.certidaoCrc),
                                             CQXData(s.validadeCertidao),
                                             TextoCp1252(s.email),
                                             s.telefone,
                                             s.responsavelLegal};
                                   });
}

void SetAggregation(const Argumentos& args, Contexto& contexto, bool set) {
  qx::AglutinacaoCadastro a;
  a.conta = static_cast<int32_t>(Number(args, args.Posicionais()[1], 1, INT32_MAX, "CONTA"));
  if (set) {
    a.codigo = Word(args, 2);
    a.descricao = qx::Utf8ToCp1252(args.Valor("descricao").value_or(""));
  }
  auto db = contexto.Company(Word(args, 0));
  Check(qx::DefineAglutinacao(*db, a), "gravar o código de aglutinação", db->message());
}

void ListAggregations(const Argumentos& args, Contexto& contexto, Saida& saida) {
  ShowList<qx::AglutinacaoCadastro>(
      args, contexto, saida, "ler os códigos de aglutinação", "aglutinacoes",
      {"conta", "codigo", "descricao"}, qx::ListaAglutinacoes,
      [](const qx::AglutinacaoCadastro& a) -> std::vector<Celula> {
        return {a.conta, TextoCp1252(a.codigo), TextoCp1252(a.descricao)};
      });
}

}  // namespace

std::vector<Comando> CadastroCommands() {
  return {
      {"cadastro mostra",
       "EMPRESA",
       "o cadastro da pessoa jurídica que a escrituração digital (ECD) declara",
       {},
       ComContexto(Show)},
      {"cadastro define",
       "EMPRESA",
       "muda os campos dados do cadastro da pessoa jurídica",
       {{"razao-social", "NOME", "o nome empresarial"},
        {"cnpj", "CNPJ", "o CNPJ, com os dígitos verificadores"},
        {"uf", "UF", "a sigla do estado"},
        {"municipio", "CODIGO", "o código IBGE do município (7 dígitos)"},
        {"nome-municipio", "NOME", "o nome do município"},
        {"inscricao-estadual", "NUMERO", "a inscrição estadual, só letras e dígitos"},
        {"inscricao-municipal", "NUMERO", "a inscrição municipal, só letras e dígitos"},
        {"nire", "NIRE", "o número na junta comercial (11 dígitos)"},
        {"arquivamento", "DATA", "a data de arquivamento dos atos constitutivos"},
        {"conversao", "DATA", "a data de arquivamento do ato de conversão, se houve"},
        {"inicio-exercicio", "MES", "o mês em que começa o exercício social (1 a 12)"},
        {"grande-porte", "0|1", "1 se a empresa está sujeita a auditoria independente"}},
       ComContexto(Define)},
      {"signatario inclui",
       "EMPRESA CPF QUALIFICACAO NOME",
       "inclui um signatário da escrituração (qualificação 900 contador, 203 diretor, 205 "
       "administrador, 801 empresário, 001 a própria empresa com o seu CNPJ, ...)",
       {{"crc", "NUMERO", "a inscrição do contador no CRC"},
        {"uf-crc", "UF", "o estado do CRC"},
        {"certidao", "UF/ANO/NUMERO", "a certidão de regularidade profissional"},
        {"validade-certidao", "DATA", "a validade da certidão"},
        {"email", "EMAIL", "o e-mail do signatário"},
        {"telefone", "NUMERO", "o telefone, com o DDD"},
        {"responsavel", "", "o responsável legal pela assinatura (só um; nunca o contador)"}},
       ComContexto(AddSignatory)},
      {"signatario lista",
       "EMPRESA",
       "os signatários da escrituração",
       {},
       ComContexto(ListSignatories)},
      {"signatario exclui",
       "EMPRESA CPF QUALIFICACAO",
       "exclui um signatário",
       {},
       ComContexto(RemoveSignatory)},
      {"aglutinacao define",
       "EMPRESA CONTA CODIGO",
       "a linha das demonstrações (código de aglutinação) da conta e das contas abaixo dela",
       {{"descricao", "TEXTO", "a descrição da linha (senão, o nome da conta)"}},
       ComContexto([](const Argumentos& a, Contexto& c, Saida&) { SetAggregation(a, c, true); })},
      {"aglutinacao exclui",
       "EMPRESA CONTA",
       "a conta volta à linha que a estrutura do plano lhe dá",
       {},
       ComContexto([](const Argumentos& a, Contexto& c, Saida&) { SetAggregation(a, c, false); })},
      {"aglutinacao lista",
       "EMPRESA",
       "os códigos de aglutinação dados às contas",
       {},
       ComContexto(ListAggregations)},
  };
}

}  // namespace qxadmin
