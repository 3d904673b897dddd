// The recovery of an operation that stopped part way: its intent, found by
// the next holder of mark 7, takes back what it wrote, and the company's
// history and the system event log say so.
#include <algorithm>
#include <string_view>

#include "contract/entry_messages.h"
#include "diagnostics/error_log.h"
#include "lancamento/lancamento_base.h"
#include "lancamento/operacao.h"
#include "platform/codepage.h"
#include "platform/event_log.h"
#include "platform/path.h"
#include "storage/month_name.h"
#include "storage/records/entry_records.h"
#include "values/text_format.h"

namespace qx {
namespace {

constexpr char kUnidade[] = "LancamentoBase";
constexpr char kFuncao[] = "CLancamentoBase::RecuperaOperacao";

const char* NomeOperacao(char tipo) {
  switch (tipo) {
    case kOperacaoGravacao:
      return "a grava\xE7\xE3o de um lan\xE7\x61mento";
    case kOperacaoLote:
      return "a grava\xE7\xE3o de um lote de lan\xE7\x61mentos";
    case kOperacaoExclusao:
      return "a exclus\xE3o de um lan\xE7\x61mento";
    case kOperacaoImportacao:
      return "a exclus\xE3o de lan\xE7\x61mentos importados";
    default:
      return "uma opera\xE7\xE3o";
  }
}

// "a", or "a a b" for a run.
std::string Faixa(uint64_t primeira, uint64_t ultima) {
  return primeira == ultima ? std::to_string(primeira)
                            : std::to_string(primeira) + " a " + std::to_string(ultima);
}

// What the undoing did to the entries, for people, and the entry it touched
// first.
struct Descricao {
  std::string texto;
  uint16_t mes = 0;
  int32_t posicao = 0;
};

Descricao Descreve(const IntentHeader& cabecalho, const std::vector<ArquivoDesfeito>& arquivos) {
  Descricao d;
  std::string partes;
  const auto anota = [&](CQXMesAno mes, uint64_t posicao, const std::string& texto) {
    if (d.mes == 0) {
      d.mes = mes.Value();
      d.posicao = static_cast<int32_t>(posicao);
    }
    partes += "; " + mes.Text(7, '/', true) + ": " + texto;
  };
  for (const ArquivoDesfeito& a : arquivos) {
    const std::string_view nome(a.nome);
    const std::optional<CQXMesAno> mes =
        nome.size() > 8 && Cp1252EqualNoCase(nome.substr(0, 4), kPrefixoLancamentos)
            ? MesDaParteArquivo(nome.substr(4, 4))
            : std::nullopt;
    if (!mes) continue;
    // Positions the operation appended went with the bytes after the old end.
    const uint64_t fimAntes = a.comprimentoAntes.value_or(UINT64_MAX);
    if (a.comprimentoEncontrado > fimAntes) {
      const uint64_t primeira = std::max<uint64_t>((fimAntes + kEntryRecordSize - 1) / kEntryRecordSize, 1);
      const uint64_t ultima = a.comprimentoEncontrado / kEntryRecordSize - 1;
      if (primeira <= ultima) {
        anota(*mes, primeira, "lan\xE7\x61mento(s) " + Faixa(primeira, ultima) + " retirado(s)");
      }
    }
    for (const auto& [posicao, tamanho] : a.trechos) {
      const uint64_t registro = posicao / kEntryRecordSize;
      if (registro > 0) anota(*mes, registro, "lan\xE7\x61mento " + std::to_string(registro) + " restaurado");
    }
  }
  d.texto = FormatText("%s da sess\xE3o %u (usu\xE1rio %u) parou no meio e foi desfeita",
                       NomeOperacao(cabecalho.cTipo), cabecalho.Sessao,
                       static_cast<unsigned>(cabecalho.Usuario)) +
            partes;
  return d;
}

// Writes a failed step to the error log and gives its code back.
HRESULT Falha(CLancamentoBase& objeto, int linha, const char* passo, HRESULT hr) {
  QXGravaLogHresult(&objeto, kFuncao, kUnidade, linha, "hr", passo, hr);
  return hr;
}

}  // namespace

int RecuperaPendente(CLancamentoBase& objeto, Intencao& intencao) {
  std::optional<IntentHeader> cabecalho;
  std::vector<EntradaIntencao> entradas;
  if (int status = intencao.Le(&cabecalho, &entradas)) return status;
  // An intent without an entry covers no write that happened.
  if (!cabecalho || entradas.empty()) return intencao.Limpa();
  CQXComPtr<IQXDF_Log> pILog;
  HRESULT hr = objeto.GetAcessoEmpresarial()->GetIDFLog(pILog);
  if (FAILED(hr) || !pILog) {
    return Falha(objeto, __LINE__, "GetAcessoEmpresarial()->GetIDFLog(pILog)",
                 FAILED(hr) ? hr : E_POINTER);
  }
  bool encerrada = false;
  if (FAILED(hr = pILog->OperacaoEncerrada(cabecalho->Operacao, &encerrada))) {
    return Falha(objeto, __LINE__, "pILog->OperacaoEncerrada(operacao, &encerrada)", hr);
  }
  if (encerrada) return intencao.Limpa();

  std::vector<ArquivoDesfeito> arquivos;
  if (const int status = intencao.Desfaz(&arquivos)) {
    QXGravaLogStatus(&objeto, kFuncao, kUnidade, __LINE__, "intencao.Desfaz(&arquivos)",
                     "iRetorno", status, QXHresultDoStatus(status));
    return status;
  }
  const Descricao d = Descreve(*cabecalho, arquivos);
  hr = pILog->RegistraRecuperacao(cabecalho->Sessao, cabecalho->Usuario, cabecalho->Operacao,
                                  d.mes, d.posicao, d.texto);
  if (FAILED(hr)) return Falha(objeto, __LINE__, "pILog->RegistraRecuperacao()", hr);
  ReportEvent(kFonteEventos, EventType::kWarning, kMensagemOperacaoInterrompida,
              {"Empresa " + std::string(objeto.GetEmpresa()) + ": " + d.texto + "."});
  return intencao.Limpa();
}

void RecuperaAoAbrir(CLancamentoBase& objeto) {
  // Most openings find no intent: a look without the mark is enough. A mark
  // that an operation holds does not open, and its holder ends it.
  const std::string caminho = JoinPath(objeto.GetPastaEmpresa(), kIntentFileName);
  CFile sonda;
  if (!sonda.Open(caminho.c_str(), CFile::modeRead | CFile::shareDenyNone)) return;
  uint64_t tamanho = 0;
  try {
    tamanho = sonda.GetLength();
  } catch (CFileException* erro) {
    erro->Delete();
  }
  sonda.Abort();
  if (tamanho == 0) return;
  Operacao(objeto, kOperacaoGravacao).Prepara();
}

}  // namespace qx
