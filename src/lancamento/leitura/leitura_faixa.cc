// The batch interface's reads: a month's stored entries, deleted ones
// included, by position range or at the positions asked for, and its split
// lines by position range, one page per call. Each page is handed out in task
// memory that the caller frees, and kept well under the frame limit.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contract/chave_busca.h"
#include "lancamento/buscas/busca_comum.h"
#include "lancamento/lancamento_base.h"
#include "lancamento/leitura/leitura_complemento.h"
#include "lancamento/meses/arquivo_mes.h"
#include "platform/task_memory.h"

namespace {

// The most one page holds: 8192 entries with their texts stay under 5 MiB,
// 16384 split lines under 1 MiB.
constexpr int32_t kLancamentosPorPagina = 8192;
constexpr int32_t kLinhasPorPagina = 16384;

// The last position of an open file of records of `tamanho` bytes.
int LeUltimaPosicao(CQXarq& arquivo, uint32_t tamanho, int32_t* ultima) {
  uint32_t comprimento = 0;
  const int status = arquivo.Posiciona('F', 0, &comprimento);
  *ultima = comprimento >= tamanho ? static_cast<int32_t>(comprimento / tamanho - 1) : 0;
  return status;
}

// The positions a page reads: from the first asked for (at least 1), as
// many as asked for, the page allows and the file holds.
struct Faixa {
  uint32_t primeira;
  uint32_t fim;  // one past the last
};

Faixa FaixaDaPagina(int32_t inicial, int32_t quantidade, int32_t maximo, int32_t ultima) {
  const int64_t primeira = std::max(inicial, 1);
  const int64_t fim =
      std::min<int64_t>(primeira + std::min(quantidade, maximo), int64_t{ultima} + 1);
  return {static_cast<uint32_t>(primeira), static_cast<uint32_t>(std::max(fim, primeira))};
}

// A new zeroed block of task memory for `n` T (one byte at least), or null.
template <class T>
T* Bloco(size_t n) {
  const size_t bytes = std::max<size_t>(n * sizeof(T), 1);
  void* bloco = CoTaskMemAlloc(bytes);
  if (bloco != nullptr) std::memset(bloco, 0, bytes);
  return static_cast<T*>(bloco);
}

// A new block of task memory holding a copy of `n` T (one byte at least), or null.
template <class T>
T* Copia(const T* origem, size_t n) {
  void* bloco = CoTaskMemAlloc(std::max<size_t>(n * sizeof(T), 1));
  if (bloco != nullptr && n > 0) std::memcpy(bloco, origem, n * sizeof(T));
  return static_cast<T*>(bloco);
}

// The stored record as entry data, as stored: a deleted entry keeps its
// date and accounts.
RegDados DadosDoRegistro(const qx::EntryRecord& registro, CQXMesAno mes) {
  RegDados dados{};
  dados.Documento = registro.Documento;
  dados.Complemento = registro.Complemento;
  dados.Gerencial = registro.Gerencial;
  dados.DataLancamento = qx::DataDoLancamento(mes.Value(), registro.cDia).Value();
  dados.wChaveOrigem = _QX_DMCPS{registro.lChaveModulo, registro.iData, {}};
  dados.Valor = registro.Valor;
  dados.Debito = registro.Debito;
  dados.Credito = registro.Credito;
  dados.Secao = registro.Secao;
  dados.CodHis = static_cast<int16_t>(registro.CodHis);
  dados.Filial = static_cast<int16_t>(registro.Filial);
  dados.cConferido = registro.cConferido;
  dados.cStatusIFRS = registro.cStatusIFRS;
  return dados;
}

// The month's other files a page of entries reads, opened at their first use.
class ArquivosDaPagina {
 public:
  ArquivosDaPagina(const std::string& pasta, CQXMesAno mes) : pasta_(pasta), mes_(mes) {}
  ~ArquivosDaPagina() {
    moeda_.Fecha();
    heap_.Fecha();
  }

  // The foreign-currency amount of entry `posicao` into the data; nothing
  // when it cannot be read.
  void LeMoeda(uint32_t posicao, RegDados* dados) {
    qx::CurrencyRecord valor;
    if (!moeda_.IsOpen() && qx::AbreArquivoMes(moeda_, pasta_, qx::kPrefixoMoeda, mes_.Value(), 'L',
                                               qx::kCurrencyRecordSize) != ARQ_OK) {
      return;
    }
    if (moeda_.Le(posicao, &valor) != ARQ_OK) return;
    dados->ValorMoeda.int64 = valor.ValorMoeda.int64;
    if (valor.ValorMoeda.int64 == 0) dados->cGravarZero = 'S';
  }

  // The text at `posicao`, seen in the heap's buffer until the next read.
  int VeTexto(uint32_t posicao, std::string_view* texto) {
    if (!heap_.IsOpen()) {
      if (int status = qx::AbreComplementos(pasta_, mes_, &heap_)) return status;
    }
    return qx::VeTextoComplemento(heap_, posicao, texto);
  }

 private:
  const std::string& pasta_;
  CQXMesAno mes_;
  CQXarq moeda_;
  CQXarq heap_;
};

// A month's entry file, opened with its last position, and its other files
// opened at their first use.
struct MesAberto {
  MesAberto(const std::string& pasta, CQXMesAno mes) : mes(mes), outros(pasta, mes) {
    status = qx::AbreArquivoMes(arquivo, pasta, qx::kPrefixoLancamentos, mes.Value(), 'L',
                                qx::kEntryRecordSize);
    if (status == ARQ_OK) status = LeUltimaPosicao(arquivo, qx::kEntryRecordSize, &ultima);
  }
  ~MesAberto() { arquivo.Fecha(); }
  MesAberto(const MesAberto&) = delete;
  MesAberto& operator=(const MesAberto&) = delete;

  CQXMesAno mes;
  CQXarq arquivo;
  ArquivosDaPagina outros;
  int32_t ultima = 0;
  int status = ARQ_OK;
};

// A page of entries as it is read, entry by entry, handed out as one list in
// task memory.
class PaginaDeLancamentos {
 public:
  PaginaDeLancamentos(bool complementos, bool moedaEstrangeira,
                      const CQXDadosDF_FiliaisAtivas& filiais)
      : complementos_(complementos), moeda_(moedaEstrangeira), filiais_(filiais) {}

  // The entry at `posicao` of the month, as `chave`, unless it is of an
  // inactive branch; ARQ_FIM_DE_ARQUIVO past the file's end.
  int Acrescenta(MesAberto& mes, uint32_t posicao, int32_t chave) {
    qx::EntryRecord registro;
    int status = mes.arquivo.Le(posicao, &registro);
    if (status != ARQ_OK || filiais_.EhFilialAtiva(registro.Filial) == 0) return status;
    REG_LOTE_LANCAMENTO_LIDO& lido = lidos_.emplace_back();
    lido.Dados = DadosDoRegistro(registro, mes.mes);
    lido.lPosicao = chave;
    lido.cStatus = registro.cStatus;
    // An amount that cannot be read (a record that a stopped save did not
    // write) is 0 without cGravarZero 'S': the rest of the month still reads.
    if (moeda_ && registro.cStatus == qx::kEntryLiveWithCurrency) {
      mes.outros.LeMoeda(posicao, &lido.Dados);
    }
    if (complementos_ && registro.Complemento > 0) {
      std::string_view texto;
      status = mes.outros.VeTexto(static_cast<uint32_t>(registro.Complemento), &texto);
      lido.ulInicioComplemento = static_cast<uint32_t>(textos_.size());
      lido.usTamanhoComplemento = static_cast<uint16_t>(texto.size());
      textos_ += texto;
    }
    return status;
  }

  // The list, with the last position of the month read, into *ppLista.
  HRESULT Entrega(int32_t ultima, REG_LOTE_LISTA_LANCAMENTOS** ppLista) const {
    auto* lista = Bloco<REG_LOTE_LISTA_LANCAMENTOS>(1);
    auto* lancamentos = Copia(lidos_.data(), lidos_.size());
    auto* bytes = Copia(reinterpret_cast<const uint8_t*>(textos_.data()), textos_.size());
    if (lista == nullptr || lancamentos == nullptr || bytes == nullptr) {
      CoTaskMemFree(lista);
      CoTaskMemFree(lancamentos);
      CoTaskMemFree(bytes);
      return E_OUTOFMEMORY;
    }
    lista->ulQtde = static_cast<uint32_t>(lidos_.size());
    lista->ulTamanhoTextos = static_cast<uint32_t>(textos_.size());
    lista->pLancamentos = lancamentos;
    lista->pTextos = bytes;
    lista->lUltimaPosicao = ultima;
    *ppLista = lista;
    return S_OK;
  }

 private:
  bool complementos_;
  bool moeda_;
  const CQXDadosDF_FiliaisAtivas& filiais_;
  std::vector<REG_LOTE_LANCAMENTO_LIDO> lidos_;
  std::string textos_;
};

}  // namespace

HRESULT CLancamentoBase::LeLancamentosFaixa(uint16_t MesAno, int32_t PosicaoInicial,
                                            int32_t Quantidade, int32_t bComplemento,
                                            REG_LOTE_LISTA_LANCAMENTOS** ppLista) {
  if (ppLista == nullptr) return E_POINTER;
  *ppLista = nullptr;
  if (Quantidade < 0) return E_INVALIDARG;
  CQXDadosDF_FiliaisAtivas filiais;
  if (HRESULT hr = qx::CarregaFiliaisAtivas(*this, "CLancamentoBase::LeLancamentosFaixa", &filiais);
      hr != S_OK) {
    return hr;
  }
  MesAberto mes(m_strPastaEmpresa, CQXMesAno(MesAno));
  const Faixa faixa = FaixaDaPagina(PosicaoInicial, Quantidade, kLancamentosPorPagina, mes.ultima);
  PaginaDeLancamentos pagina(bComplemento != 0, m_ulMoedaEstrangeira != 0, filiais);
  int status = mes.status;
  for (uint32_t p = faixa.primeira; status == ARQ_OK && p < faixa.fim; ++p) {
    status = pagina.Acrescenta(mes, p, static_cast<int32_t>(p));
  }
  // The month may have lost records since its length was read.
  if (status != ARQ_OK && status != ARQ_FIM_DE_ARQUIVO) return QXHresultDoStatus(status);
  return pagina.Entrega(mes.ultima, ppLista);
}

HRESULT CLancamentoBase::LeLancamentosChaves(uint16_t MesAno, int32_t Quantidade, int32_t* Chaves,
                                             int32_t bComplemento,
                                             REG_LOTE_LISTA_LANCAMENTOS** ppLista) {
  if (ppLista == nullptr) return E_POINTER;
  *ppLista = nullptr;
  if (Quantidade < 0 || Quantidade > kLancamentosPorPagina) return E_INVALIDARG;
  if (Quantidade > 0 && Chaves == nullptr) return E_POINTER;
  CQXDadosDF_FiliaisAtivas filiais;
  if (HRESULT hr =
          qx::CarregaFiliaisAtivas(*this, "CLancamentoBase::LeLancamentosChaves", &filiais);
      hr != S_OK) {
    return hr;
  }
  PaginaDeLancamentos pagina(bComplemento != 0, m_ulMoedaEstrangeira != 0, filiais);
  std::optional<MesAberto> mes;
  int status = ARQ_OK;
  for (int32_t i = 0; status == ARQ_OK && i < Quantidade; ++i) {
    const int32_t chave = Chaves[i];
    const int valor = qx::MesDaChave(CQXMesAno(MesAno), chave);
    const int32_t posicao = qx::PosicaoDaChave(chave);
    // A key of no month, or of a position its month does not hold, is left
    // out, as one of an inactive branch.
    if (valor < 1 || valor > CQXMesAno::kLast) continue;
    if (!mes || mes->mes.Value() != valor) {
      mes.emplace(m_strPastaEmpresa, CQXMesAno(static_cast<uint32_t>(valor)));
      status = mes->status;
    }
    if (status != ARQ_OK || posicao < 1 || posicao > mes->ultima) continue;
    status = pagina.Acrescenta(*mes, static_cast<uint32_t>(posicao), chave);
    if (status == ARQ_FIM_DE_ARQUIVO) status = ARQ_OK;
  }
  if (status != ARQ_OK) return QXHresultDoStatus(status);
  return pagina.Entrega(mes ? mes->ultima : 0, ppLista);
}

HRESULT CLancamentoBase::LeGerenciaisFaixa(uint16_t MesAno, int32_t PosicaoInicial,
                                           int32_t Quantidade,
                                           REG_LOTE_LISTA_GERENCIAIS** ppLista) {
  if (ppLista == nullptr) return E_POINTER;
  *ppLista = nullptr;
  if (Quantidade < 0) return E_INVALIDARG;
  CQXarq gerencial;
  CQXarq quantidades;
  int32_t ultima = 0;
  int status = qx::AbreArquivoMes(gerencial, m_strPastaEmpresa, qx::kPrefixoGerencial, MesAno, 'L',
                                  qx::kSplitRecordSize);
  if (status == ARQ_OK) status = LeUltimaPosicao(gerencial, qx::kSplitRecordSize, &ultima);
  if (status == ARQ_OK && m_bUsaQuantidadeGerencial) {
    status = qx::AbreArquivoMes(quantidades, m_strPastaEmpresa, qx::kPrefixoQuantidades, MesAno,
                                'L', qx::kQuantityRecordSize);
  }
  const Faixa faixa = FaixaDaPagina(PosicaoInicial, Quantidade, kLinhasPorPagina, ultima);
  std::vector<REG_LOTE_GERENCIAL_LIDO> lidas;
  for (uint32_t p = faixa.primeira; status == ARQ_OK && p < faixa.fim; ++p) {
    REGLAN_GER linha;
    status = gerencial.Le(p, &linha);
    if (status == ARQ_FIM_DE_ARQUIVO) {
      status = ARQ_OK;
      break;
    }
    if (status != ARQ_OK) break;
    REG_LOTE_GERENCIAL_LIDO& lida = lidas.emplace_back();
    lida.Linha.Valor.int64 = linha.Valor.int64;
    lida.Linha.Indlan = static_cast<int32_t>(linha.Indlan);
    lida.Linha.ContaGerencial = linha.ContaGerencial;
    lida.Linha.ContaContabil = linha.ContaContabil;
    lida.lPosicao = static_cast<int32_t>(p);
    // A quantity that cannot be read counts as 0, as the split's reading has it.
    REGQTD_GER quantidade;
    if (quantidades.IsOpen() && quantidades.Le(p, &quantidade) == ARQ_OK) {
      lida.Quantidade.Quantidade.int64 = quantidade.Quantidade.int64;
    }
  }
  gerencial.Fecha();
  quantidades.Fecha();
  if (status != ARQ_OK) return QXHresultDoStatus(status);

  auto* lista = Bloco<REG_LOTE_LISTA_GERENCIAIS>(1);
  auto* linhas = Copia(lidas.data(), lidas.size());
  if (lista == nullptr || linhas == nullptr) {
    CoTaskMemFree(lista);
    CoTaskMemFree(linhas);
    return E_OUTOFMEMORY;
  }
  lista->ulQtde = static_cast<uint32_t>(lidas.size());
  lista->lUltimaPosicao = ultima;
  lista->pLinhas = linhas;
  *ppLista = lista;
  return S_OK;
}
