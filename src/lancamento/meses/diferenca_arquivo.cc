#include "lancamento/meses/diferenca_arquivo.h"

#include "platform/path.h"
#include "storage/arquivo.h"
#include "storage/qx_arq.h"

namespace qx {
namespace {

// Calendar month number of a stored date, whatever its year; 0 for no date.
int MesDaData(uint32_t data) { return CQXData(data).Month(); }

// A file that existed and has vanished is made again with its zero record
// only; a failed create stays silent (the lookup then has no match).
void RecriaArquivo(const std::string& caminho) {
  const DifferenceRecord zero{};
  CArquivo arquivo;
  if (arquivo.Abre(caminho.c_str(), 'C', kDifferenceRecordSize, false) != ARQ_OK) return;
  arquivo.GravaZero(&zero, kDifferenceRecordSize);
  arquivo.Fecha();
}

// Reads the record at the lookup's position, starting the file with its zero
// record when a new key is appended to an empty file.
int LeRegistroDaChave(CQXarq& arq, uint32_t posicao, DifferenceRecord* registro) {
  if (posicao == 0) {
    uint32_t tamanho = 0;
    if (int status = arq.Posiciona('F', 0, &tamanho)) return status;
    if (tamanho == 0) {
      const DifferenceRecord zero{};
      if (int status = arq.GravaZero(&zero, kDifferenceRecordSize)) return status;
    }
  }
  return arq.Le(posicao, registro);
}

}  // namespace

bool ChaveConfere(const DifferenceRecord& registro, const ChaveDiferenca& chave, uint16_t modo) {
  const uint32_t data = EffectiveDate(registro);
  switch (modo) {
    case kDiferencaPorDataUsuario:
      return data == chave.data.Value() && registro.Usuario == chave.usuario;
    case kDiferencaPorData:
      return data == chave.data.Value();
    case kDiferencaPorMesUsuario:
      return registro.Usuario == chave.usuario && MesDaData(data) == chave.data.Month();
    case kDiferencaPorMes:
      return MesDaData(data) == chave.data.Month();
    default:
      return false;
  }
}

std::string CaminhoDiferenca(const std::string& pasta) {
  return JoinPath(pasta, kDifferenceFileName);
}

LocalDiferenca BuscaChaveDiferenca(const std::string& caminho, const OpcoesDiferenca& opcoes,
                                   const ChaveDiferenca& chave) {
  LocalDiferenca local;
  CQXarq arq;
  const int status = arq.Abre(caminho.c_str(), 'L', kDifferenceRecordSize, true);
  if (status == ARQ_NAO_ENCONTRADO) {
    RecriaArquivo(caminho);
    return local;
  }
  if (status != ARQ_OK) {
    local.status = status;
    return local;
  }

  uint32_t primeiraLivre = 0;
  DifferenceRecord registro;
  int lido = ARQ_OK;
  for (uint32_t p = 1; (lido = arq.Le(p, &registro)) == ARQ_OK; ++p) {
    if (primeiraLivre == 0 && IsFreeSlot(registro)) primeiraLivre = p;
    const bool confere = ChaveConfere(registro, chave, opcoes.modo);
    if (confere && opcoes.porFilial && registro.Filial != chave.filial) continue;
    if (registro.Valor.int64 != 0) local.temDiferenca = true;
    if (confere) {
      local.encontrada = true;
      local.posicao = p;
      break;
    }
  }
  arq.Fecha();
  // A read that fails before the end may hide the key's record: adding a new
  // one would store the key twice.
  if (!local.encontrada && lido != ARQ_FIM_DE_ARQUIVO) local.status = lido;
  if (!local.encontrada) local.posicao = primeiraLivre;
  return local;
}

int SomaDiferenca(const std::string& caminho, const OpcoesDiferenca& opcoes,
                  const ChaveDiferenca& chave, CURRENCY valor, CURRENCY* novoTotal) {
  // A key without date would be stored as a free slot holding an amount,
  // which the next new key would overwrite.
  if (chave.data.IsEmpty()) return ARQ_PARAMETRO_INVALIDO;
  const LocalDiferenca local = BuscaChaveDiferenca(caminho, opcoes, chave);
  if (local.status != ARQ_OK) return local.status;

  CQXarq arq;
  if (int status = arq.Abre(caminho.c_str(), 'G', kDifferenceRecordSize, true)) return status;
  DifferenceRecord registro;
  if (int status = LeRegistroDaChave(arq, local.posicao, &registro)) return status;
  int64_t total = 0;
  if (__builtin_add_overflow(registro.Valor.int64, valor.int64, &total)) {
    return ARQ_PARAMETRO_INVALIDO;
  }

  const bool comUsuario =
      opcoes.modo == kDiferencaPorDataUsuario || opcoes.modo == kDiferencaPorMesUsuario;
  registro.Valor.int64 = total;
  registro.Data = chave.data.Value();
  registro.usDataLegada = 0;
  registro.Filial = opcoes.porFilial ? chave.filial : 0;
  registro.Usuario = comUsuario ? chave.usuario : 0;
  if (total == 0) registro = DifferenceRecord{};  // the slot becomes free

  uint32_t posicao = local.posicao;
  const int status = arq.Grava(&registro, &posicao, kDifferenceRecordSize);
  arq.Fecha();
  if (novoTotal != nullptr) novoTotal->int64 = total;
  return status;
}

}  // namespace qx
