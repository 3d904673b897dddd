#include "outside/database/postgres_connection.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>

#include "platform/codepage.h"
#include "values/text_format.h"

namespace qx {
namespace {

bool IsUri(std::string_view value) {
  return value.starts_with("postgresql://") || value.starts_with("postgres://");
}

// A service's name: letters, digits, '_', '-' and '.'.
bool IsServiceName(std::string_view value) {
  return !value.empty() && std::all_of(value.begin(), value.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
  });
}

constexpr char kComoSeEscreve[] =
    " Escreva uma conex\xE3o do libpq (host=servidor dbname=empresa user=ostrel), um "
    "endere\xE7o postgresql://servidor/empresa ou o nome de um servi\xE7o do "
    "pg_service.conf.";

}  // namespace

std::string TextoConexaoPostgres(std::string_view value) {
  const bool service = value.find('=') == std::string_view::npos && !IsUri(value);
  return service ? "service=" + std::string(value) : std::string(value);
}

std::string NomeBancoPostgres(std::string_view value) { return "PostgreSQL " + std::string(value); }

HRESULT ValidaConexaoPostgres(std::string_view value, std::string* message) {
  const std::string text = TextoConexaoPostgres(value);
  if (value.empty() || (text.starts_with("service=") && !IsServiceName(value))) {
    *message = FormatText("A conex\xE3o PostgreSQL \"%s\" n\xE3o \xE9 v\xE1lida.%s",
                          std::string(value).c_str(), kComoSeEscreve);
    return E_INVALIDARG;
  }
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(text.c_str(), &error);
  if (options == nullptr) {
    std::string why = error != nullptr ? error : "";
    PQfreemem(error);
    while (!why.empty() && std::isspace(static_cast<unsigned char>(why.back()))) why.pop_back();
    *message = FormatText("A conex\xE3o PostgreSQL n\xE3o \xE9 v\xE1lida (%s).%s",
                          Utf8ToCp1252(why).c_str(), kComoSeEscreve);
    return E_INVALIDARG;
  }
  bool password = false;
  for (const PQconninfoOption* option = options; option->keyword != nullptr; ++option) {
    password |= std::string_view(option->keyword) == "password" && option->val != nullptr &&
                *option->val != '\0';
  }
  PQconninfoFree(options);
  if (password) {
    *message =
        "A conex\xE3o PostgreSQL traz uma senha, que n\xE3o pode ficar no registro: tire-a e "
        "ponha-a no arquivo ~/.pgpass (ou no que PGPASSFILE indicar) do usu\xE1rio que roda o "
        "servidor.";
    return E_INVALIDARG;
  }
  return S_OK;
}

}  // namespace qx
