// Every interface method that touches files, with each of its file operations
// failing once in turn, with a cause that ends the operation and with one
// that the record files retry, and with each of its writes stopping after a
// part of its bytes, and with the process dying at each of its writes: the
// method returns a code (the next opening takes back what a dead process
// left), the mark of saves is free afterwards and the folder holds no damage,
// its entries agreeing with the change log; a save that fails leaves the live
// entries and the totals exactly as they were, unless it says that it was
// interrupted.
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "../platform/test_support.h"
#include "contract/entry_messages.h"
#include "platform/file_faults.h"
#include "platform/task_memory.h"
#include "storage/records/difference_record.h"
#include "sweep_fixture.h"

namespace qx {
namespace {

using Chamada = std::function<HRESULT(IQXCN_Lancamento*)>;

struct Caso {
  const char* nome;
  Chamada chamada;
  // A change: one that fails leaves the live entries and totals as they were, one that
  // succeeds leaves them as an undisturbed call does.
  bool gravacao = false;
};

uint16_t Mes() { return SweepCompany::Mes(); }
int32_t Chave(int32_t indlan) { return (indlan << 12) | Mes(); }

HRESULT NovoLancamento(IQXCN_Lancamento* s) {
  SweepCompany::Preenche(s, 0, 40, "lancamento novo");
  int32_t indlan = 0;
  return s->Grava(&indlan);
}

HRESULT Alteracao(IQXCN_Lancamento* s) {
  if (HRESULT hr = s->Le(2, Mes())) return hr;
  SweepCompany::Preenche(s, 4, 20, "texto alterado");
  int32_t indlan = 2;
  return s->Grava(&indlan);
}

HRESULT GravaDados(IQXCN_Lancamento* s) {
  RegDados dados = SweepCompany::Dados(0, 70000, 9);
  int32_t indlan = 3;
  return s->GravaDados(&dados, &indlan);
}

// A batch: a new entry with a text, two split lines and a foreign-currency
// amount, an update of entry 2, and a new one-sided entry.
HRESULT Lote(IQXCN_Lancamento* s) {
  void* lote = nullptr;
  if (HRESULT hr = s->QueryInterface(IID_IQXCN_LancamentoLote, &lote)) return hr;
  REG_LOTE_LANCAMENTO lancamentos[3] = {};
  const int32_t indlans[3] = {0, 2, 0};
  const int32_t debitos[3] = {4, 5, 0};
  for (int i = 0; i < 3; ++i) {
    lancamentos[i].Dados = SweepCompany::Dados(debitos[i], 10000 * (i + 1));
    lancamentos[i].Indlan = indlans[i];
  }
  lancamentos[0].Dados.ValorMoeda = CURRENCY{77};
  lancamentos[0].usTamanhoComplemento = 5;
  lancamentos[0].usQtdGerencial = 2;
  lancamentos[1].ulInicioComplemento = 5;
  lancamentos[1].usTamanhoComplemento = 3;
  REG_LOTE_GERENCIAL linhas[2] = {};
  for (int i = 0; i < 2; ++i) {
    linhas[i].Linha.Valor = CURRENCY{5000};
    linhas[i].Linha.ContaGerencial = 2 + i;
    linhas[i].Quantidade.Quantidade = CURRENCY{10000};
  }
  unsigned char textos[] = "loteiupd";
  int32_t posicoes[3] = {};
  int32_t falha = 0;
  const HRESULT hr = static_cast<IQXCN_LancamentoLote*>(lote)->GravaLote(
      3, lancamentos, 2, linhas, 8, textos, posicoes, &falha);
  static_cast<IQXCN_LancamentoLote*>(lote)->Release();
  return hr;
}

HRESULT LeituraGerencial(IQXCN_Lancamento* s) {
  if (HRESULT hr = s->Le(3, Mes())) return hr;
  uint16_t linhas = 0;
  return s->LeGerencial(&linhas);
}

HRESULT Redistribuicao(IQXCN_Lancamento* s) {
  REG_REDISTR_GERENCIAL contas[2] = {};
  contas[0].iContaGerencial = 5;
  contas[0].vPercentual = CURRENCY{600000};
  contas[1].iContaGerencial = 6;
  contas[1].vPercentual = CURRENCY{400000};
  const ULONG dia = SweepCompany::kData.Value();
  return s->FazRedGerencial(2, 4, dia - 20, dia + 5, 2, contas);
}

// The special reading by position, then by keys, with and without the complements.
HRESULT LeituraEspecial(IQXCN_Lancamento* s) {
  if (HRESULT hr = s->AbreEspecial(Mes())) return hr;
  HRESULT hr = S_OK;
  for (int i = 0; i < 6 && hr == S_OK; ++i) hr = s->LeEspecial(0);
  Lancamentos chaves[3] = {{1, {}}, {2, {}}, {3, {}}};
  RegDados dados[3] = {};
  RegDadosComplemento comTexto[3] = {};
  const HRESULT resto[] = {s->LeEspecialDados(2, dados), s->LeEspecialChaves(3, chaves, dados),
                           s->LeEspecialChavesComplemento(3, chaves, comTexto)};
  s->FechaEspecial();
  for (const HRESULT seguinte : resto) hr = FAILED(hr) ? hr : seguinte;
  return hr;
}

HRESULT Busca(IQXCN_Lancamento* s) {
  s->SetContaGerencial(2);
  int32_t quantidade = 0;
  const ULONG dia = SweepCompany::kData.Value();
  if (HRESULT hr = s->BuscaQtdLancamentos(dia - 40, dia + 40, &quantidade)) return hr;
  std::vector<Lancamentos> lista(static_cast<size_t>(quantidade) + 1);
  return s->BuscaLancamentos(quantidade, lista.data());
}

HRESULT BuscaConta(IQXCN_Lancamento* s) {
  const REGLAN_CONTAPS conta{4, SweepCompany::kData.Value() - 40, SweepCompany::kData.Value(), 1};
  int32_t quantidade = 0;
  return s->BuscaQtdLancamentosConta(conta, &quantidade);
}

HRESULT ListagemWeb(IQXCN_Lancamento* s) {
  _REG_FILTRO_LANCAMENTO_TARVOWEB_PS filtro{};
  filtro.usDataInicial = SweepCompany::kData.Value() - 40;
  filtro.usDataFinal = SweepCompany::kData.Value() + 40;
  _REG_LISTA_LANCAMENTOS_TARVOWEB_PS* lista = nullptr;
  const HRESULT hr = s->BuscaLancamentosTarvoWeb(10, filtro, &lista);
  if (lista != nullptr) {
    CoTaskMemFree(lista->pPonteiros);
    CoTaskMemFree(lista);
  }
  uint16_t inicial = 0, final = 0;
  const HRESULT faixa = s->GetRangeDatasTarvoWeb(&inicial, &final);
  return FAILED(hr) ? hr : faixa;
}

HRESULT RemocaoImportados(IQXCN_Lancamento* s) {
  int32_t posicoes[1] = {1};
  CNLAN_EXCLUSAO_MES_IMP_PS mes{1, Mes(), {}, posicoes, nullptr};
  const CNLAN_EXCLUSAO_IMP_PS parametros{1, {}, &mes, nullptr};
  CNLAN_RESULTADO_EXCLUSAO_IMP_PS resultado{};
  const HRESULT hr = s->ExclusaoImportacao(parametros, &resultado);
  CoTaskMemFree(resultado.pErros);
  return hr;
}

HRESULT Formatos(IQXCN_Lancamento* s) {
  REGFORMATOIMPORT formato{};
  std::memcpy(formato.cNomeFormatoImportacao, "F2", 2);
  std::memcpy(formato.cSequenciaContabil, "CD", 2);
  formato.cDelimitador = ';';
  uint16_t consistencia = 0, posicao = 0, quantidade = 0;
  HRESULT hr = s->GravaFormatoImportacao(0, formato, &consistencia);
  UniqueBstr nome(BstrFromCp1252("F1"));
  if (SUCCEEDED(hr)) hr = s->ExisteFormatoImportacao(nome.get(), &posicao);
  if (SUCCEEDED(hr)) hr = s->LeFormatoImportacao(1, &formato);
  if (SUCCEEDED(hr)) hr = s->GetQuantidadeFormatosImportacao(&quantidade);
  REGFORMATOIMPORT lista[4] = {};
  if (SUCCEEDED(hr)) hr = s->GetFormatosImportacao(quantidade < 4 ? quantidade : 4, lista);
  if (SUCCEEDED(hr)) hr = s->ExcluiFormatoImportacao(nome.get());
  return hr;
}

HRESULT Notas(IQXCN_Lancamento* s) {
  int32_t posicao = 0;
  HRESULT hr = s->ExisteNotaExplicativa(Mes(), Chave(2), &posicao);
  BSTR texto = nullptr;
  if (SUCCEEDED(hr)) hr = s->LeNotaExplicativa(posicao, &texto);
  SysFreeString(texto);
  UniqueBstr nova(BstrFromCp1252("nota reescrita"));
  if (SUCCEEDED(hr)) hr = s->GravaNotaExplicativa(Mes(), Chave(2), posicao, nova.get());
  if (SUCCEEDED(hr)) hr = s->GravaNotaExplicativa(Mes(), Chave(3), 0, nova.get());
  return hr;
}

HRESULT Diferencas(IQXCN_Lancamento* s) {
  CURRENCY diferenca{};
  int32_t tem = 0, quantidade = 0;
  HRESULT hr = s->BuscaDiferencaDC(SweepCompany::kData.Value(), 1, 1, &diferenca, &tem);
  if (SUCCEEDED(hr)) hr = s->GetQuantidadeDiferenca(&quantidade);
  std::vector<Reg_Dif> lista(static_cast<size_t>(quantidade) + 1);
  if (SUCCEEDED(hr)) hr = s->GetDiferenca(quantidade, lista.data());
  return hr;
}

HRESULT Meses(IQXCN_Lancamento* s) {
  const uint16_t proximo = static_cast<uint16_t>(Mes() + 1);
  HRESULT hr = s->CriaArquivoMes(proximo);
  int32_t lancamentos = 0, excluidos = 0, gerenciais = 0, importados = 0;
  if (SUCCEEDED(hr)) {
    hr = s->PegaQuantidadeRegistros(Mes(), &lancamentos, &excluidos, &gerenciais, &importados);
  }
  if (SUCCEEDED(hr)) hr = s->CriaArquivosPeriodoAnterior(Mes() - 2, Mes() - 1);
  if (SUCCEEDED(hr)) hr = s->ApagaArquivoMes(proximo);
  return hr;
}

const std::vector<Caso>& Casos() {
  static const std::vector<Caso> casos = {
      {"Grava", NovoLancamento, true},
      {"GravaAlteracao", Alteracao, true},
      {"GravaDados", GravaDados, true},
      {"GravaLote", Lote, true},
      {"GravaConferido", [](IQXCN_Lancamento* s) { return s->GravaConferido(Mes(), 2, 1); }},
      {"LeDados",
       [](IQXCN_Lancamento* s) {
         RegDados dados{};
         const HRESULT hr = s->LeDados(1, Mes(), &dados);
         return FAILED(hr) ? hr : s->LeLancamentoExcluido(4, Mes(), &dados);
       }},
      {"LeDadosComplemento",
       [](IQXCN_Lancamento* s) {
         RegDadosComplemento dados{};
         BSTR texto = nullptr;
         const HRESULT hr = s->GetComplemento(&texto, Mes(), 2);
         SysFreeString(texto);
         return FAILED(hr) ? hr : s->LeDadosComplemento(2, Mes(), &dados);
       }},
      {"Exclui", [](IQXCN_Lancamento* s) { return s->Exclui(3, Mes()); }, true},
      {"ExcluiOffLine",
       [](IQXCN_Lancamento* s) { return s->ExcluiOffLine(Mes(), SweepCompany::kChaveOrigem, 7); }},
      {"LeGerencial", LeituraGerencial},
      {"GeraArquivoQuantidadeGerencial",
       [](IQXCN_Lancamento* s) { return s->GeraArquivoQuantidadeGerencial(); }},
      {"FazRedGerencial", Redistribuicao},
      {"LeEspecial", LeituraEspecial},
      {"BuscaLancamentos", Busca},
      {"BuscaQtdLancamentosConta", BuscaConta},
      {"LeLancamentosMes",
       [](IQXCN_Lancamento* s) {
         REG_DADOS_LANCAMENTOS dados[8] = {};
         int32_t chaves = 0;
         const HRESULT hr = s->LeLancamentosMes(Mes(), 8, dados);
         return FAILED(hr) ? hr : s->ValidaChavesConciliacao(Mes(), 4, &chaves);
       }},
      {"BuscaLancamentosTarvoWeb", ListagemWeb},
      {"ExclusaoImportacao", RemocaoImportados, true},
      {"FormatosImportacao", Formatos},
      {"NotasExplicativas", Notas},
      {"Diferencas", Diferencas},
      {"OperacoesDeMes", Meses},
  };
  return casos;
}

// Operations failed per method and cause, spread evenly; the sanitizers slow every run down.
constexpr uint64_t kOperacoes = test::kAddressSanitizer ? 8 : 30;

// One way of failing: the nth call of an operation with a cause, the nth
// write after `parcial` of its bytes, or the process dying at the nth write.
struct Falha {
  FileOp operacao;
  int causa;
  uint32_t parcial;
  bool morre = false;
};
constexpr Falha kFalhas[] = {
    {FileOp::Any, CFileException::invalidFile, 0},
    {FileOp::Any, CFileException::sharingViolation, 0},
    {FileOp::Write, CFileException::hardIO, 7},
    {FileOp::Write, 0, 0, true},
};

// The call failing as `falha` says, and the code it returned (any code will
// do). A process that dies gives E_FAIL, once the next opening of the company
// has taken back what it left.
HRESULT Falhando(const Caso& caso, const Falha& falha, int nth) {
  if (falha.morre) {
    const pid_t filho = fork();
    if (filho == 0) {
      Objeto s = SweepCompany::Novo();
      FileFaults::ArmExit(nth);
      if (s) caso.chamada(s.get());
      _exit(0);
    }
    int estado = 0;
    EXPECT_EQ(waitpid(filho, &estado, 0), filho);
    EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == FileFaults::kCodigoSaida) << estado;
    EXPECT_TRUE(SweepCompany::Novo());
    return E_FAIL;
  }
  Objeto s = SweepCompany::Novo();
  if (!s) return E_FAIL;
  if (falha.parcial != 0) {
    FileFaults::ArmPartialWrite(nth, falha.causa, falha.parcial);
  } else {
    FileFaults::Arm(falha.operacao, nth, falha.causa);
  }
  const HRESULT hr = caso.chamada(s.get());
  FileFaults::Clear();
  return hr;
}

class FaultSweep : public ::testing::TestWithParam<size_t> {
 protected:
  SweepCompany pasta_;
};

TEST_P(FaultSweep, EachFileOperationFailingOnceLeavesTheFolderSound) {
  const Caso& caso = Casos()[GetParam()];
  FileFaultsGuard guard;
  uint64_t chamadas = 0, escritas = 0;
  std::string depois;
  {
    Objeto s = SweepCompany::Novo();
    ASSERT_TRUE(s);
    FileFaults::Count();
    const HRESULT hr = caso.chamada(s.get());
    chamadas = FileFaults::Calls(FileOp::Any);
    escritas = FileFaults::Calls(FileOp::Write);
    FileFaults::Clear();
    ASSERT_FALSE(FAILED(hr)) << std::hex << hr;
    ASSERT_EQ(pasta_.Dano(), "");
    depois = pasta_.VivosETotais();
  }
  ASSERT_GT(chamadas, 0u);
  pasta_.Restaura();
  const std::string antes = pasta_.VivosETotais();
  for (const Falha& falha : kFalhas) {
    const uint64_t quantas = falha.operacao == FileOp::Any ? chamadas : escritas;
    const uint64_t passo = (quantas + kOperacoes - 1) / kOperacoes;
    for (uint64_t nth = 1; nth <= quantas; nth += passo) {
      SCOPED_TRACE(testing::Message()
                   << caso.nome << ": operation " << nth << " of " << quantas << ", cause "
                   << falha.causa << ", part " << falha.parcial << (falha.morre ? ", dies" : ""));
      pasta_.Restaura();
      const HRESULT hr = Falhando(caso, falha, static_cast<int>(nth));
      EXPECT_EQ(pasta_.Dano(), "") << std::hex << hr;
      if (caso.gravacao && hr != kHrOperacaoInterrompida) {
        EXPECT_EQ(pasta_.VivosETotais(), hr == S_OK ? depois : antes) << std::hex << hr;
      }
      // No mark stays held: another object saves.
      Objeto outro = SweepCompany::Novo();
      ASSERT_TRUE(outro);
      EXPECT_EQ(NovoLancamento(outro.get()), S_OK);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Metodos, FaultSweep, ::testing::Range<size_t>(0, Casos().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           return std::string(Casos()[info.param].nome);
                         });

// A read of the difference file that fails while the key is looked up: the
// save reports it instead of storing the key a second time, the removal is
// refused, and the difference query reports it instead of a zero total.
TEST(DifferenceReadFault, SavesRemovalsAndQueriesReportItAndKeepOneRecordPerKey) {
  SweepCompany pasta;
  FileFaultsGuard guard;
  const std::string arquivo = pasta.company().CnFolder() + "/" + kDifferenceFileName;
  const std::string antes = TestCompany::ReadAll(arquivo), vivos = pasta.VivosETotais();
  // The call with the next read of the difference file failing.
  const auto falhando = [](const std::function<HRESULT()>& chamada) {
    FileFaults::Arm(FileOp::Read, 1, CFileException::invalidFile, kDifferenceFileName);
    const HRESULT hr = chamada();
    FileFaults::Clear();
    return hr;
  };
  Objeto s = SweepCompany::Novo();
  ASSERT_TRUE(s);

  // A new one-sided entry: its total is not added under a second record, and
  // the save is undone.
  SweepCompany::Preenche(s.get(), 0, 50, "");
  int32_t indlan = 0;
  EXPECT_NE(falhando([&] { return s->Grava(&indlan); }), S_OK);
  EXPECT_EQ(pasta.VivosETotais(), vivos);

  // The removal of one-sided entry 3 does not happen: its total could not be taken back.
  EXPECT_NE(falhando([&] { return s->Exclui(3, Mes()); }), S_OK);
  EXPECT_EQ(TestCompany::ReadAll(arquivo), antes);
  RegDados dados{};
  EXPECT_EQ(s->LeLancamentoExcluido(3, Mes(), &dados), S_OK);

  CURRENCY diferenca{};
  int32_t tem = 0;
  const auto busca = [&] {
    return s->BuscaDiferencaDC(SweepCompany::kData.Value(), 1, 1, &diferenca, &tem);
  };
  EXPECT_NE(falhando(busca), S_OK);
  EXPECT_EQ(busca(), S_OK);
  EXPECT_EQ(diferenca.int64, -300000);
  EXPECT_EQ(tem, 1);
  EXPECT_EQ(pasta.Dano(), "");
}

}  // namespace
}  // namespace qx
