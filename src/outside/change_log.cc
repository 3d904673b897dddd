// The change log: every record is one row of "log_alteracoes", whose
// autoincrement id gives the order in which the records were stored.
#include <algorithm>
#include <string_view>
#include <vector>

#include "outside/outside_codes.h"
#include "outside/service_factories.h"
#include "outside/sql_statement.h"
#include "outside/timestamp.h"

namespace qx {
namespace {

// A change record is an image of a few dozen or a few hundred bytes; anything
// beyond this is a caller's mistake.
constexpr uint32_t kMaxRecordSize = 1u << 20;

class ChangeLog : public IQXDF_Log {
 public:
  explicit ChangeLog(std::shared_ptr<SuiteDatabase> db) : db_(std::move(db)) {}

  HRESULT Grava(uint32_t sessao, int32_t chave, int32_t tipo, char servico, uint32_t tamanho,
                const void* dados) override {
    if (tamanho > 0 && dados == nullptr) return E_POINTER;
    if (tamanho > kMaxRecordSize) return E_INVALIDARG;
    const std::string_view letter =
        servico == '\0' ? std::string_view() : std::string_view(&servico, 1);
    return db_->Write([&] {
      SqlStatement insert(*db_,
                          "INSERT INTO log_alteracoes (sessao, chave, tipo, servico, dados, "
                          "gravado_em) VALUES (?, ?, ?, ?, ?, ?)");
      insert.Bind(1, sessao).Bind(2, chave).Bind(3, tipo).BindText(4, letter);
      insert.BindBlob(5, dados, tamanho).BindText(6, TimestampNow());
      return insert.Run();
    });
  }

  HRESULT BuscaQuantidade(const _REG_DF_FILTRO_LOGPS& filtro, int32_t* quantidade) override {
    if (quantidade == nullptr) return E_POINTER;
    *quantidade = 0;
    std::vector<uint32_t> keys;
    const HRESULT hr = db_->Read([&] {
      keys.clear();
      SqlStatement query(*db_,
                         "SELECT DISTINCT sessao >> 12 FROM sessoes WHERE (?1 = 0 OR usuario = ?1) "
                         "AND (?2 = 0 OR sessao >= ?2) AND (?3 = 0 OR sessao <= ?3) "
                         "AND (?4 = 0 OR data >= ?4) AND (?5 = 0 OR data <= ?5) ORDER BY 1");
      query.Bind(1, filtro.usUsuario).Bind(2, filtro.ulSessaoInicial).Bind(3, filtro.ulSessaoFinal);
      query.Bind(4, filtro.ulDataInicial).Bind(5, filtro.ulDataFinal);
      bool row = false;
      HRESULT step;
      while (SUCCEEDED(step = query.Step(&row)) && row) {
        keys.push_back(static_cast<uint32_t>(query.Int(0)));
      }
      return step;
    });
    if (FAILED(hr)) return hr;
    found_ = std::move(keys);
    searched_ = true;
    *quantidade = static_cast<int32_t>(found_.size());
    return S_OK;
  }

  HRESULT BuscaPonteiros(int32_t quantidade, uint32_t* tabela) override {
    if (!searched_) return E_QXDF_SEM_BUSCA;
    if (quantidade < 0) return E_INVALIDARG;
    if (quantidade > 0 && tabela == nullptr) return E_POINTER;
    const size_t count = std::min(found_.size(), static_cast<size_t>(quantidade));
    std::copy_n(found_.begin(), count, tabela);
    return S_OK;
  }

 private:
  std::shared_ptr<SuiteDatabase> db_;
  std::vector<uint32_t> found_;
  bool searched_ = false;
};

}  // namespace

CQXComPtr<IQXDF_Log> MakeChangeLog(std::shared_ptr<SuiteDatabase> db) {
  return std::make_unique<ChangeLog>(std::move(db));
}

}  // namespace qx
