#include "outside/admin/company_move.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "outside/change_log/change_log_store.h"
#include "outside/database/company_database.h"
#include "outside/database/company_use.h"
#include "outside/database/outside_codes.h"
#include "outside/database/postgres_connection.h"
#include "outside/database/sqlite_database.h"
#include "outside/database/suite_schema.h"
#include "platform/file.h"
#include "storage/folders/folders.h"
#include "values/text_format.h"

namespace qx {
namespace {

// The name of the new SQLite file while it is built.
constexpr char kSufixoNovo[] = ".novo";

std::string Descreve(const CompanyDatabaseLocation& where) {
  return where.postgres.empty() ? where.SqlitePath() : NomeBancoPostgres(where.postgres);
}

void RemoveSqlite(const std::string& path) {
  std::error_code ignored;
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix, ignored);
}

// Copies `de` into the empty `para`, with the schema, in one transaction of
// `para`, and compares the copy as `para` reads it back before it commits.
HRESULT Copia(SuiteDatabase& de, SuiteDatabase& para, std::vector<ResumoTabela>* lidas,
              std::string* message) {
  std::vector<TableShape> tabelas, novas;
  HRESULT hr = OrdemDeCopia(de, &tabelas);
  if (FAILED(hr)) {
    *message = de.message();
    return hr;
  }
  return de.Read([&] {
    return para.Write([&] {
      HRESULT feito = MigrateSchema(para);
      if (SUCCEEDED(feito)) feito = para.ListTables(&novas);
      if (FAILED(feito)) {
        *message = para.message();
        return feito;
      }
      for (const TableShape& tabela : tabelas) {
        const auto nova = std::find_if(novas.begin(), novas.end(),
                                       [&](const TableShape& t) { return t.name == tabela.name; });
        if (nova == novas.end() ||
            !std::is_permutation(nova->columns.begin(), nova->columns.end(), tabela.columns.begin(),
                                 tabela.columns.end())) {
          *message = FormatText("A tabela \"%s\" n\xE3o tem as mesmas colunas nos dois bancos.",
                                tabela.name.c_str());
          return E_QXDF_BANCO_INVALIDO;
        }
      }
      feito = CopiaTabelas(de, para, tabelas, lidas, message);
      if (SUCCEEDED(feito)) feito = ContinuaLog(para);
      std::vector<ResumoTabela> achadas;
      if (SUCCEEDED(feito)) feito = ResumeTabelas(para, tabelas, &achadas);
      if (FAILED(feito)) {
        if (message->empty()) *message = para.message();
        return feito;
      }
      for (size_t t = 0; t < achadas.size(); ++t) {
        if (achadas[t] == (*lidas)[t]) continue;
        *message = FormatText(
            "A c\xF3pia da tabela \"%s\" n\xE3o confere (%lld linhas lidas, %lld gravadas, "
            "somas diferentes): nada foi gravado no banco novo, e a empresa continua no de antes.",
            achadas[t].nome.c_str(), static_cast<long long>((*lidas)[t].linhas),
            static_cast<long long>(achadas[t].linhas));
        return E_QXDF_BANCO_FALHA;
      }
      return S_OK;
    });
  });
}

}  // namespace

HRESULT MoveCompany(const Registry& registry, std::string_view company, const std::string& postgres,
                    Mudanca* mudanca, std::string* message) {
  *mudanca = Mudanca();
  CompanyDatabaseLocation antes;
  HRESULT hr = LocateCompanyDatabase(registry, company, &antes, message);
  if (SUCCEEDED(hr) && !postgres.empty()) hr = ValidaConexaoPostgres(postgres, message);
  if (FAILED(hr)) return hr;
  std::unique_ptr<CFile> sozinha;
  hr = HoldCompanyAlone(antes.folder, &sozinha, message);
  // The registry is read again once no one else can change the company.
  if (SUCCEEDED(hr)) hr = LocateCompanyDatabase(registry, company, &antes, message);
  if (FAILED(hr)) return hr;
  const CompanyDatabaseLocation depois{antes.folder, postgres};
  if (antes.postgres == depois.postgres) {
    *message = FormatText("A empresa \"%s\" j\xE1 est\xE1 em %s.", std::string(company).c_str(),
                          Descreve(antes).c_str());
    return E_INVALIDARG;
  }
  mudanca->de = Descreve(antes);
  mudanca->para = Descreve(depois);

  const std::string novo = depois.SqlitePath() + kSufixoNovo;
  std::shared_ptr<SuiteDatabase> de, para;
  hr = OpenDatabaseAt(antes, SuiteDatabase::Mode::kExisting, &de, message);
  if (SUCCEEDED(hr) && postgres.empty()) {
    RemoveSqlite(novo);  // what an interrupted move left
    hr = SuiteDatabase::Open(novo, SuiteDatabase::Mode::kNew, &para, message);
  } else if (SUCCEEDED(hr)) {
    hr = OpenDatabaseAt(depois, SuiteDatabase::Mode::kNew, &para, message);
  }
  if (SUCCEEDED(hr)) hr = Copia(*de, *para, &mudanca->tabelas, message);
  de.reset();
  para.reset();
  if (SUCCEEDED(hr) && postgres.empty()) hr = ReplaceSqliteFile(novo, depois.SqlitePath(), message);
  if (postgres.empty()) RemoveSqlite(novo);
  if (FAILED(hr)) return hr;

  const std::string key = std::string(kCompaniesKey) + "\\" + std::string(company);
  const long switched = postgres.empty() ? registry.DeleteValue(key, kConexaoPostgreSQL)
                                         : registry.SetString(key, kConexaoPostgreSQL, postgres);
  if (switched != ERROR_SUCCESS) {
    *message = FormatText(
        "A c\xF3pia conferiu, mas o registro \"%s\" n\xE3o foi gravado (erro "
        "%ld): a empresa continua em %s.",
        registry.machine_file().c_str(), switched, mudanca->de.c_str());
    return HRESULT_FROM_WIN32(static_cast<int32_t>(switched));
  }
  return S_OK;
}

}  // namespace qx
