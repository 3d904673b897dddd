#include "outside/database/postgres_failures.h"

#include <string_view>

#include "outside/database/outside_codes.h"
#include "outside/database/suite_database.h"

namespace qx {
namespace {

// By SQLSTATE or by its class (two characters); the first that matches.
struct Linha {
  std::string_view estado;
  FalhaPostgres falha;
};

constexpr Linha kLinhas[] = {
    {"23505", {E_QXDF_JA_EXISTE, ""}},
    {"23", {E_INVALIDARG, ""}},
    {"40001", {E_QXDF_BANCO_OCUPADO, ""}},
    {"40P01", {E_QXDF_BANCO_OCUPADO, ""}},
    {"55P03", {E_QXDF_BANCO_OCUPADO, ""}},
    {"57014",
     {E_QXDF_BANCO_FALHA,
      " O PostgreSQL n\xE3o terminou a tempo (statement_timeout); tente de novo, e veja a carga "
      "do servidor."}},
    {"25006",
     {E_QXDF_BANCO_INDISPONIVEL,
      " O banco s\xF3 aceita leituras (um servidor r\xE9plica, ou default_transaction_read_only):"
      " aponte a conex\xE3o da empresa para o servidor principal."}},
    {"42501",
     {E_QXDF_BANCO_INDISPONIVEL,
      " O usu\xE1rio do PostgreSQL n\xE3o tem permiss\xE3o: conceda-lhe as tabelas do esquema "
      "da empresa (GRANT), ou conecte com o dono delas."}},
    {"42P01",
     {E_QXDF_BANCO_INVALIDO,
      " Falta uma tabela do sistema: a empresa n\xE3o foi criada neste banco (qxadmin empresa "
      "move a traz)."}},
    {"53100", {kDiscoCheio, " O disco do servidor PostgreSQL est\xE1 cheio."}},
    {"08",
     {E_QXDF_BANCO_INDISPONIVEL,
      " A conex\xE3o com o PostgreSQL caiu; ela volta sozinha quando o servidor responder."}},
    {"57P",
     {E_QXDF_BANCO_INDISPONIVEL,
      " O servidor PostgreSQL parou ou est\xE1 reiniciando; tente de novo quando ele voltar."}},
};

constexpr FalhaPostgres kSemConexao = {
    E_QXDF_BANCO_INDISPONIVEL,
    " A conex\xE3o com o PostgreSQL caiu; ela volta sozinha quando o servidor responder."};

}  // namespace

FalhaPostgres ClassificaFalhaPostgres(const char* sqlstate, bool conectado) {
  const std::string_view estado = sqlstate != nullptr ? sqlstate : "";
  for (const Linha& linha : kLinhas) {
    if (estado.starts_with(linha.estado)) return linha.falha;
  }
  if (!conectado) return kSemConexao;
  return {E_QXDF_BANCO_FALHA, ""};
}

}  // namespace qx
