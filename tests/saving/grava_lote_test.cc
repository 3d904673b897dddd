// The batch interface's save: the entries of a batch land in the files and
// the change log exactly as the same entries saved one by one through the
// published interface; a batch that fails leaves nothing of itself; and
// arguments that do not hang together are refused before anything is written.
#include <cstring>
#include <string>
#include <vector>

#include "lancamento/gravacao/registro_log.h"
#include "saving_fixture.h"

namespace qx {
namespace {

struct Entrada {
  int32_t indlan;  // 0: new
  int32_t debito;
  int32_t credito;
  int64_t valor;
  std::string texto;
  uint16_t linhas;
  uint16_t filial = 1;
};

// A batch as GravaLote takes it.
struct Lote {
  std::vector<REG_LOTE_LANCAMENTO> lancamentos;
  std::vector<REG_LOTE_GERENCIAL> linhas;
  std::string textos;
  std::vector<int32_t> posicoes;
  int32_t falha = -2;

  HRESULT Grava(CLancamentoBase& objeto) {
    posicoes.assign(lancamentos.size(), -1);
    return objeto.GravaLote(static_cast<int32_t>(lancamentos.size()), lancamentos.data(),
                            static_cast<int32_t>(linhas.size()), linhas.data(),
                            static_cast<int32_t>(textos.size()),
                            reinterpret_cast<unsigned char*>(textos.data()), posicoes.data(),
                            &falha);
  }
};

// Line k of an entry: (k + 1) x 10 on managerial account 2 + k, quantity (k + 1) x 3.
REG_LOTE_GERENCIAL Linha(uint16_t k) {
  REG_LOTE_GERENCIAL linha{};
  linha.Linha.Valor = CURRENCY{(k + 1) * 100000};
  linha.Linha.ContaGerencial = 2 + k;
  linha.Linha.ContaContabil = 4;
  linha.Quantidade.Quantidade = CURRENCY{(k + 1) * 30000};
  return linha;
}

class GravaLoteTest : public SavingTest {
 protected:
  static RegDados DadosDe(const Entrada& e, CQXData data) {
    RegDados dados = Dados(e.debito, e.credito, e.valor * 10000);
    dados.DataLancamento = data.Value();
    dados.Filial = static_cast<int16_t>(e.filial);
    dados.Documento = 77;
    dados.CodHis = 1;
    return dados;
  }

  static Lote Monta(const std::vector<Entrada>& entradas, CQXData data) {
    Lote lote;
    for (const Entrada& e : entradas) {
      REG_LOTE_LANCAMENTO l{};
      l.Dados = DadosDe(e, data);
      l.Indlan = e.indlan;
      l.ulInicioComplemento = static_cast<uint32_t>(lote.textos.size());
      l.usTamanhoComplemento = static_cast<uint16_t>(e.texto.size());
      l.usQtdGerencial = e.linhas;
      lote.textos += e.texto;
      for (uint16_t k = 0; k < e.linhas; ++k) lote.linhas.push_back(Linha(k));
      lote.lancamentos.push_back(l);
    }
    return lote;
  }

  // The same entries through the published interface, one GravaDados each.
  static void GravaUmAUm(CLancamentoBase& objeto, const std::vector<Entrada>& entradas,
                         CQXData data) {
    for (const Entrada& e : entradas) {
      Texto(objeto, e.texto);
      std::vector<RegLan_Ger> linhas;
      std::vector<RegQtd_Ger> quantidades;
      for (uint16_t k = 0; k < e.linhas; ++k) {
        linhas.push_back(Linha(k).Linha);
        quantidades.push_back(Linha(k).Quantidade);
      }
      objeto.SetLancamentoGerencial(e.linhas, linhas.data());
      objeto.SetQuantidadeGerencial(e.linhas, quantidades.data());
      RegDados dados = DadosDe(e, data);
      int32_t indlan = e.indlan;
      EXPECT_EQ(objeto.GravaDados(&dados, &indlan), S_OK);
    }
  }

  // The change log from `desde` on, each record as its kind and bytes; the
  // date of an entry image, which tells the months apart, left out.
  static std::vector<std::string> LogSemData(size_t desde) {
    std::vector<std::string> itens;
    const std::vector<RegistroLog> log = Log();
    for (size_t i = desde; i < log.size(); ++i) {
      std::string dados = log[i].dados;
      if (log[i].tipo == kLogTipoLancamento && dados.size() == sizeof(RegLanAtual)) {
        std::memset(dados.data() + offsetof(RegLanAtual, Data), 0, sizeof(uint32_t));
      }
      itens.push_back(std::to_string(log[i].tipo) + log[i].servico + std::to_string(log[i].chave) +
                      ":" + dados);
    }
    return itens;
  }

  // The month's live entries and the totals of its dates: what a batch that
  // fails must leave as it was.
  std::string Vivos(CLancamentoBase& objeto) const {
    std::string texto;
    const std::vector<EntryRecord> registros = Lancamentos();
    for (size_t p = 1; p < registros.size(); ++p) {
      if (registros[p].cStatus == kEntryDeleted) continue;
      texto += std::to_string(p) + ":" +
               std::string(reinterpret_cast<const char*>(&registros[p]), sizeof(EntryRecord));
    }
    return texto + "|" + std::to_string(Diferenca(objeto).int64);
  }
};

const CQXData kAbril = CQXData::Make(15, 4, 2024);

TEST_F(GravaLoteTest, SameFilesAndChangeLogAsOneByOne) {
  const std::vector<Entrada> entradas = {
      {0, 4, 11, 100, "aluguel", 0},
      {0, 4, 0, 250, "", 2},  // one-sided: the totals hear of it
      {0, 5, 11, 70, std::string(600, 'x'), 3},
      {1, 5, 11, 90, "alterado", 1},  // an update of the first entry, in the same batch
      {0, 31, 21, 10, "sem rateio", 0},
  };
  auto objeto = Objeto();
  GravaUmAUm(*objeto, entradas, kData);
  const size_t meio = Log().size();

  Preenche(*objeto, 12, 11, 5, "entrada corrente");
  Lote lote = Monta(entradas, kAbril);
  ASSERT_EQ(lote.Grava(*objeto), S_OK);
  EXPECT_EQ(lote.falha, -1);
  EXPECT_EQ(lote.posicoes, (std::vector<int32_t>{1, 2, 3, 1, 4}));
  for (const char* prefixo : {kPrefixoLancamentos, kPrefixoGerencial, kPrefixoQuantidades,
                              kPrefixoComplementos}) {
    EXPECT_EQ(Bytes(prefixo, kAbril), Bytes(prefixo, kData)) << prefixo;
  }
  std::vector<std::string> umAUm = LogSemData(0);
  umAUm.resize(meio);
  EXPECT_EQ(LogSemData(meio), umAUm);
  EXPECT_EQ(Diferenca(*objeto, kAbril).int64, Diferenca(*objeto, kData).int64);
  // The published interface's current entry is the client's own.
  int32_t debito = 0;
  objeto->GetDebito(&debito);
  EXPECT_EQ(debito, 12);
}

TEST_F(GravaLoteTest, AFailingEntryUndoesTheWholeBatch) {
  auto objeto = Objeto();
  GravaUmAUm(*objeto, {{0, 4, 11, 100, "antes", 2}, {0, 4, 0, 40, "", 0}}, kData);
  // An undone update leaves only its before image in the change log, as a
  // single save does.
  struct Caso {
    const char* nome;
    std::vector<Entrada> entradas;
    int32_t falha;
    HRESULT hr;
    size_t imagensAntes;
  };
  const Caso casos[] = {
      {"no branch",
       {{0, 4, 11, 1, "a", 1}, {2, 5, 0, 7, "b", 2}, {0, 4, 11, 3, "c", 0, 0}},
       2,
       static_cast<HRESULT>(0xFFFFFFFFu),
       1},
      {"past the end",
       {{1, 5, 11, 9, "d", 3}, {99, 4, 11, 1, "", 0}},
       1,
       QXHresultDoStatus(ARQ_FIM_DE_ARQUIVO),
       1},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    const std::string antes = Vivos(*objeto);
    const size_t log = Log().size();
    Lote lote = Monta(caso.entradas, kData);
    EXPECT_EQ(lote.Grava(*objeto), caso.hr);
    EXPECT_EQ(lote.falha, caso.falha);
    EXPECT_EQ(lote.posicoes, std::vector<int32_t>(caso.entradas.size(), 0));
    EXPECT_EQ(Vivos(*objeto), antes);
    EXPECT_EQ(Log().size(), log + 2 * caso.imagensAntes);
  }
}

TEST_F(GravaLoteTest, ArgumentsThatDoNotHangTogetherWriteNothing) {
  auto objeto = Objeto();
  const std::vector<Entrada> entradas = {{0, 4, 11, 100, "texto", 2}};
  struct Caso {
    const char* nome;
    void (*estraga)(Lote&);
    HRESULT hr;
  };
  const Caso casos[] = {
      {"one split line too many", [](Lote& l) { l.linhas.push_back(Linha(5)); }, E_INVALIDARG},
      {"a text past the bytes", [](Lote& l) { l.lancamentos[0].ulInicioComplemento = 1; },
       E_INVALIDARG},
      {"no text bytes", [](Lote& l) { l.textos.clear(); }, E_INVALIDARG},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    Lote lote = Monta(entradas, kData);
    caso.estraga(lote);
    EXPECT_EQ(lote.Grava(*objeto), caso.hr);
    EXPECT_EQ(lote.falha, -1);
  }
  int32_t falha = 0;
  EXPECT_EQ(objeto->GravaLote(-1, nullptr, 0, nullptr, 0, nullptr, nullptr, &falha), E_INVALIDARG);
  EXPECT_EQ(objeto->GravaLote(1, nullptr, 0, nullptr, 0, nullptr, nullptr, &falha), E_POINTER);
  EXPECT_EQ(objeto->GravaLote(0, nullptr, 0, nullptr, 0, nullptr, nullptr, &falha), S_OK);
  EXPECT_LE(Lancamentos().size(), 1u) << "the zero record at most";
  EXPECT_TRUE(Log().empty());
}

}  // namespace
}  // namespace qx
