// The change log: every record is one row of "log_alteracoes", whose id
// gives the order in which the records were stored, with the user of the
// session that sent it. Every few hundred records their events are filed for
// the entries' history (change_log_store.h).
#include <algorithm>
#include <string_view>
#include <vector>

#include "outside/change_log/change_log_store.h"
#include "outside/change_log/diario_banco.h"
#include "outside/database/outside_codes.h"
#include "outside/database/sql_statement.h"
#include "outside/database/timestamp.h"
#include "outside/peers/service_factories.h"
#include "storage/records/entry_records.h"
#include "values/qx_dmcps.h"

namespace qx {
namespace {

// A change record is an image of a few dozen or a few hundred bytes; anything
// beyond this is a caller's mistake.
constexpr uint32_t kMaxRecordSize = 1u << 20;
// Records of an operation after which the database's journal is emptied: a
// batch of saves, a group of removals.
constexpr size_t kRegistrosGrandeOperacao = 256;

class ChangeLog : public IQXDF_Log {
 public:
  ChangeLog(std::shared_ptr<SuiteDatabase> db, uint16_t usuario)
      : db_(std::move(db)), usuario_(usuario) {}

  HRESULT Grava(uint32_t sessao, int32_t chave, int32_t tipo, char servico, uint32_t tamanho,
                const void* dados) override {
    const ::RegistroLog registro{chave, tipo, servico, tamanho, dados};
    if (const HRESULT hr = Confere(registro); FAILED(hr)) return hr;
    return db_->Write([&] { return InsereIndexando(sessao, {&registro}); });
  }

  void GravaVarios(uint32_t sessao, const ::RegistroLog* registros, size_t quantos,
                   HRESULT* resultados) override {
    std::vector<const ::RegistroLog*> validos;
    for (size_t i = 0; i < quantos; ++i) {
      resultados[i] = Confere(registros[i]);
      if (SUCCEEDED(resultados[i])) validos.push_back(&registros[i]);
    }
    const HRESULT hr = db_->Write([&] { return InsereIndexando(sessao, validos); });
    if (SUCCEEDED(hr)) return;
    for (size_t i = 0; i < quantos; ++i) {
      if (FAILED(resultados[i])) continue;
      // A database that stayed busy through every retry is not waited for again.
      resultados[i] = hr == E_QXDF_BANCO_OCUPADO
                          ? hr
                          : db_->Write([&] { return InsereIndexando(sessao, {&registros[i]}); });
    }
  }

  HRESULT GravaConferencia(uint32_t sessao, uint16_t mesAno, int32_t indlan, int32_t lChaveModulo,
                           uint8_t anterior, uint8_t conferido) override {
    EventoLog evento;
    evento.sessao = sessao;
    evento.usuario = usuario_;
    evento.mes = mesAno;
    evento.posicao = indlan;
    if (OriginModule(lChaveModulo) == kImportModule) evento.lote = OriginKey(lChaveModulo);
    evento.gravadoEm = TimestampNow();
    evento.tipo = kEventoConferido;
    evento.conferidoAntes = anterior;
    evento.conferido = conferido;
    return InsereSemRegistros(*db_, std::move(evento));
  }

  HRESULT ConcluiOperacao(uint32_t sessao, uint64_t operacao, const ::RegistroLog* registros,
                          size_t quantos) override {
    for (size_t i = 0; i < quantos; ++i) {
      if (const HRESULT hr = Confere(registros[i]); FAILED(hr)) return hr;
    }
    if (quantos == 0) return S_OK;
    std::vector<const ::RegistroLog*> todos;
    for (size_t i = 0; i < quantos; ++i) todos.push_back(&registros[i]);
    const HRESULT hr = db_->Write(
        [&] { return InsereIndexando(sessao, todos, static_cast<int64_t>(operacao)); });
    // A large operation gives back the room its records took in the
    // database's journal.
    if (SUCCEEDED(hr) && quantos >= kRegistrosGrandeOperacao) EsvaziaDiario(*db_);
    return hr;
  }

  HRESULT OperacaoEncerrada(uint64_t operacao, bool* encerrada) override {
    if (encerrada == nullptr) return E_POINTER;
    std::vector<uint64_t> encerradas;
    const HRESULT hr = LeOperacoesEncerradas(*db_, &encerradas);
    *encerrada = std::find(encerradas.begin(), encerradas.end(), operacao) != encerradas.end();
    return hr;
  }

  HRESULT RegistraRecuperacao(uint32_t sessao, uint16_t usuario, uint64_t operacao,
                              uint16_t mesAno, int32_t indlan,
                              const std::string& descricao) override {
    EventoLog evento;
    evento.tipo = kEventoRecuperacao;
    evento.sessao = sessao;
    evento.usuario = usuario;
    evento.mes = mesAno;
    evento.posicao = indlan;
    evento.gravadoEm = TimestampNow();
    evento.descricao = descricao;
    return db_->Write([&] {
      const HRESULT hr = InsereSemRegistros(*db_, std::move(evento));
      if (FAILED(hr)) return hr;
      SqlStatement update(*db_, "UPDATE recuperacoes SET ultima = ?");
      update.Bind(1, static_cast<int64_t>(operacao));
      return update.Run();
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
  static HRESULT Confere(const ::RegistroLog& registro) {
    if (registro.tamanho > 0 && registro.dados == nullptr) return E_POINTER;
    if (registro.tamanho > kMaxRecordSize) return E_INVALIDARG;
    return S_OK;
  }

  // The records, in their order; the last one of an operation carries its
  // number. Their events are filed when enough records wait, from the
  // records as stored here.
  HRESULT InsereIndexando(uint32_t sessao, const std::vector<const ::RegistroLog*>& registros,
                          std::optional<int64_t> operacao = std::nullopt) {
    const std::string agora = TimestampNow();
    const HRESULT hr = Insere(sessao, registros, agora, operacao);
    if (SUCCEEDED(hr)) IndexaSeAtrasado(*db_, Gravados(sessao, registros, agora));
    return hr;
  }

  // On SQLite the records are given their ids here, one after another from
  // the next one free; PostgreSQL's identity column gives them there.
  HRESULT Insere(uint32_t sessao, const std::vector<const ::RegistroLog*>& registros,
                 const std::string& agora, std::optional<int64_t> operacao) {
    const bool sqlite = db_->backend() == SuiteDatabase::Backend::kSqlite;
    int64_t proximo = 0;
    if (sqlite) {
      if (const HRESULT hr = ProximoRegistroSqlite(*db_, &proximo); FAILED(hr)) return hr;
    }
    return AppendRows(*db_,
                      std::string("INSERT INTO log_alteracoes (") + (sqlite ? "id, " : "") +
                          "sessao, chave, tipo, servico, dados, gravado_em, usuario, valor_moeda, "
                          "quantidade, operacao)",
                      sqlite ? 11 : 10, registros.size(), [&](SqlStatement& s, int primeiro, size_t k) {
                        if (sqlite) s.Bind(primeiro++, proximo + static_cast<int64_t>(k));
                        const ::RegistroLog& r = *registros[k];
                        const std::string_view letra = r.servico == '\0'
                                                           ? std::string_view()
                                                           : std::string_view(&r.servico, 1);
                        s.Bind(primeiro, sessao).Bind(primeiro + 1, r.chave);
                        s.Bind(primeiro + 2, r.tipo).BindText(primeiro + 3, letra);
                        s.BindBlob(primeiro + 4, r.dados, r.tamanho).BindText(primeiro + 5, agora);
                        s.Bind(primeiro + 6, usuario_).Bind(primeiro + 7, r.valorMoeda);
                        s.Bind(primeiro + 8, r.quantidade);
                        s.Bind(primeiro + 9,
                               k + 1 == registros.size() ? operacao : std::nullopt);
                      });
  }

  // The records as a reader of the log gets them back, without their ids
  // (a letter is a text of one byte of the code page, which reads back as it
  // was bound).
  std::vector<RegistroLog> Gravados(uint32_t sessao,
                                    const std::vector<const ::RegistroLog*>& registros,
                                    const std::string& agora) const {
    std::vector<RegistroLog> gravados(registros.size());
    for (size_t k = 0; k < registros.size(); ++k) {
      const ::RegistroLog& r = *registros[k];
      RegistroLog& g = gravados[k];
      g.sessao = sessao;
      g.chave = r.chave;
      g.tipo = r.tipo;
      g.servico = r.servico;
      if (r.tamanho > 0) g.dados.assign(static_cast<const char*>(r.dados), r.tamanho);
      g.gravadoEm = agora;
      g.usuario = usuario_;
      g.valorMoeda = r.valorMoeda;
      g.quantidade = r.quantidade;
    }
    return gravados;
  }

  std::shared_ptr<SuiteDatabase> db_;
  uint16_t usuario_;
  std::vector<uint32_t> found_;
  bool searched_ = false;
};

}  // namespace

CQXComPtr<IQXDF_Log> MakeChangeLog(std::shared_ptr<SuiteDatabase> db, uint16_t usuario) {
  return std::make_unique<ChangeLog>(std::move(db), usuario);
}

}  // namespace qx
