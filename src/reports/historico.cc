#include "reports/historico.h"

#include <cstring>
#include <map>
#include <set>
#include <utility>

#include "outside/database/company_database.h"
#include "reports/estado_lancamento.h"

namespace qx {
namespace {

constexpr const char* kNomes[kQuantidadeCampos] = {
    "data",        "debito",    "credito",     "valor",  "filial",    "documento",  "historico",
    "complemento", "gerencial", "valor_moeda", "origem", "conferido", "fechado_de", "fechado_ate"};

// A period's event as the changes of its first and last day; a side where
// nothing was closed has no value.
std::vector<Mudanca> MudancasDoPeriodo(const ResumoEvento& r) {
  const auto dia = [](const std::string& imagem, size_t k) -> std::optional<ValorCampo> {
    uint32_t dias[2] = {};
    if (imagem.size() != sizeof dias) return std::nullopt;
    std::memcpy(dias, imagem.data(), sizeof dias);
    if (dias[0] == 0) return std::nullopt;
    return ValorCampo::Numero(dias[k]);
  };
  std::vector<Mudanca> mudancas;
  for (size_t k = 0; k < 2; ++k) {
    mudancas.push_back({k == 0 ? Campo::kFechadoDe : Campo::kFechadoAte, dia(r.imagemAntes, k),
                        dia(r.imagemDepois, k)});
  }
  return mudancas;
}

class Leitura {
 public:
  explicit Leitura(SuiteDatabase& db) : consulta_(db) {}

  HRESULT Le(const FiltroEventos& filtro, std::vector<EventoHistorico>* eventos) {
    std::vector<EventoLog> lidos;
    HRESULT hr = consulta_.ListaEventos(filtro, &lidos);
    if (SUCCEEDED(hr)) hr = LeAnteriores(lidos);
    for (size_t k = 0; SUCCEEDED(hr) && k < lidos.size(); ++k) {
      EventoHistorico historico;
      hr = Decodifica(lidos[k], &historico);
      if (SUCCEEDED(hr) && historico.id != 0) eventos->push_back(std::move(historico));
    }
    return hr;
  }

 private:
  // What a save left, and the save before it.
  struct Salvo {
    std::optional<EstadoLancamento> estado;
    int64_t anterior;
  };

  // The saves the listed updates and removals start from, read in one
  // question when the list does not hold them.
  HRESULT LeAnteriores(const std::vector<EventoLog>& lidos) {
    std::set<int64_t> listados;
    std::vector<int64_t> faltam;
    for (const EventoLog& e : lidos) {
      listados.insert(e.id);
      if (e.anterior != 0 && !listados.contains(e.anterior)) faltam.push_back(e.anterior);
    }
    return Guarda(faltam);
  }

  // Reads these events and keeps the state each save left.
  HRESULT Guarda(const std::vector<int64_t>& ids) {
    std::vector<EventoLog> lidos;
    const HRESULT hr = consulta_.LeEventos(ids, &lidos);
    for (const EventoLog& e : lidos) {
      estados_.emplace(e.id, Salvo{EstadoDepois(e), e.anterior});
    }
    return hr;
  }

  // Leaves h->id 0 for an event that changed nothing.
  HRESULT Decodifica(const EventoLog& e, EventoHistorico* h) {
    if (e.tipo == kEventoRecuperacao) {
      Preenche(e, h);
      h->descricao = e.descricao;
      return S_OK;
    }
    if (e.tipo == kEventoConferido) {
      Preenche(e, h);
      h->mudancas.push_back({Campo::kConferido, ValorCampo::Numero(e.conferidoAntes),
                             ValorCampo::Numero(e.conferido), false});
      return S_OK;
    }
    if (e.tipo == kEventoPeriodo) {
      Preenche(e, h);
      h->mudancas = MudancasDoPeriodo(e.resumo);
      return S_OK;
    }
    const std::optional<EstadoLancamento>& depois =
        estados_.insert_or_assign(e.id, Salvo{EstadoDepois(e), e.anterior}).first->second.estado;
    if (e.tipo == kEventoAlterado && !depois) return S_OK;
    std::optional<EstadoLancamento> antes;
    if (e.tipo != kEventoNovo) {
      const EstadoLancamento* anterior = nullptr;
      if (const HRESULT hr = Anterior(e, &anterior); FAILED(hr)) return hr;
      antes = EstadoAntes(e, anterior);
    }
    Preenche(e, h);
    h->mudancas = Compara(antes ? &*antes : nullptr, depois ? &*depois : nullptr);
    if (e.tipo != kEventoAlterado) return S_OK;
    // Every save takes the checked mark off; the images do not hold it, the
    // checks do.
    uint8_t marca = 0;
    if (const HRESULT hr = MarcaAntes(e, &marca); FAILED(hr)) return hr;
    if (marca != 0) h->mudancas.push_back({Campo::kConferido, ValorCampo::Numero(marca), {}});
    return S_OK;
  }

  // The checked mark before an update: what the entry's last check since its
  // previous save left (a save leaves none).
  HRESULT MarcaAntes(const EventoLog& e, uint8_t* marca) {
    FiltroEventos filtro;
    filtro.mes = e.mes;
    filtro.posicao = e.posicao;
    filtro.tipos = std::string(1, kEventoConferido);
    filtro.antesDe = e.id;
    std::vector<EventoLog> checagens;
    const HRESULT hr = consulta_.ListaEventos(filtro, &checagens);
    if (SUCCEEDED(hr) && !checagens.empty() && checagens.back().id > e.anterior) {
      *marca = checagens.back().conferido;
    }
    return hr;
  }

  static void Preenche(const EventoLog& e, EventoHistorico* h) {
    h->id = e.id;
    h->tipo = e.tipo;
    h->gravadoEm = e.gravadoEm;
    h->sessao = e.sessao;
    h->usuario = e.usuario;
    h->mes = CQXMesAno(e.mes);
    h->posicao = e.posicao;
    h->lote = e.lote;
  }

  // The state the entry's last save before `e` left; null when the log
  // holds none. An update that was undone wrote no record: the save before
  // it did.
  HRESULT Anterior(const EventoLog& e, const EstadoLancamento** anterior) {
    *anterior = nullptr;
    for (int64_t id = e.anterior; id != 0;) {
      auto achado = estados_.find(id);
      if (achado == estados_.end()) {
        if (const HRESULT hr = Guarda({id}); FAILED(hr)) return hr;
        achado = estados_.find(id);
        if (achado == estados_.end()) return S_OK;  // gone from the log
      }
      if (achado->second.estado) {
        *anterior = &*achado->second.estado;
        return S_OK;
      }
      id = achado->second.anterior;
    }
    return S_OK;
  }

  ConsultaLog consulta_;
  std::map<int64_t, Salvo> estados_;  // by event
};

}  // namespace

const char* NomeCampo(Campo campo) { return kNomes[static_cast<size_t>(campo)]; }

HRESULT LeHistorico(SuiteDatabase& db, const FiltroEventos& filtro,
                    std::vector<EventoHistorico>* eventos) {
  return db.Read([&] {
    eventos->clear();
    return Leitura(db).Le(filtro, eventos);
  });
}

HRESULT LeHistorico(std::string_view empresa, const FiltroEventos& filtro,
                    std::vector<EventoHistorico>* eventos, std::string* mensagem) {
  std::shared_ptr<SuiteDatabase> db;
  HRESULT hr = OpenCompanyDatabase(empresa, &db, mensagem);
  if (SUCCEEDED(hr)) hr = LeHistorico(*db, filtro, eventos);
  if (FAILED(hr) && db) *mensagem = db->message();
  return hr;
}

}  // namespace qx
