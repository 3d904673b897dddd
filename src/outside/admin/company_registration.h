// The company's registration as the bookkeeping file (ECD) states it: the
// legal entity, the signatories of the books and the aggregation codes the
// admin gives accounts for the statements' lines. Texts are Windows-1252;
// dates are day numbers (CQXData values), 0 for none. Every write checks its
// fields first and refuses with E_INVALIDARG and a message that names the
// field and what it expects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "outside/database/suite_database.h"

namespace qx {

struct CadastroPJ {
  std::string razaoSocial;
  std::string cnpj;       // 14 digits
  std::string uf;         // "SP"
  std::string municipio;  // IBGE code, 7 digits
  std::string nomeMunicipio;
  std::string inscricaoEstadual, inscricaoMunicipal;
  std::string nire;               // 11 digits, or "" for a company without one
  uint32_t dataArquivamento = 0;  // filing of the founding acts
  uint32_t dataConversao = 0;     // filing of the conversion into a company, if any
  int mesInicioExercicio = 1;     // the month the fiscal year starts
  bool grandePorte = false;       // subject to independent audit
};

struct SignatarioCadastro {
  std::string nome;
  std::string documento;     // CPF (11 digits), or the CNPJ of qualification 001
  std::string qualificacao;  // code of the qualification table ("900" accountant)
  std::string crc, ufCrc;    // the accountant's registration and its state
  std::string certidaoCrc;   // the certificate of good standing: UF/ano/número
  uint32_t validadeCertidao = 0;
  std::string email, telefone;
  bool responsavelLegal = false;
};

struct AglutinacaoCadastro {
  int32_t conta = 0;  // of the accounting chart
  std::string codigo;
  std::string descricao;  // "" for the account's name
};

// "" when every field given is in its form, else the refusal: which field and
// what it expects. Empty fields pass; the file's checker names those it needs.
std::string ConfereCadastroPJ(const CadastroPJ& cadastro);
std::string ConfereSignatario(const SignatarioCadastro& signatario);

HRESULT LeCadastroPJ(SuiteDatabase& db, CadastroPJ* cadastro);
HRESULT GravaCadastroPJ(SuiteDatabase& db, const CadastroPJ& cadastro);

// A second legally responsible signatory is refused: one signs for the company.
HRESULT AdicionaSignatario(SuiteDatabase& db, const SignatarioCadastro& signatario);
// E_QXDF_REGISTRO_NAO_ENCONTRADO when there is no such signatory.
HRESULT RemoveSignatario(SuiteDatabase& db, const std::string& documento,
                         const std::string& qualificacao);
HRESULT ListaSignatarios(SuiteDatabase& db, std::vector<SignatarioCadastro>* signatarios);

// Gives the account (and the accounts under it) the code; an empty code
// gives the account back its default.
HRESULT DefineAglutinacao(SuiteDatabase& db, const AglutinacaoCadastro& aglutinacao);
HRESULT ListaAglutinacoes(SuiteDatabase& db, std::vector<AglutinacaoCadastro>* aglutinacoes);

}  // namespace qx
