// The filtered search end to end: a year of generated entries saved through
// the interface, many filters, the keys found read back month by month; the
// answer expected is worked out here from the generated data.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/bstr.h"
#include "service_fixture.h"
#include "values/qx_data.h"
#include "values/qx_dmcps.h"
#include "values/qx_mes_ano.h"

namespace qx {
namespace {

constexpr int kAno = 2024;
constexpr int kPorMes = 24;
const uint16_t kJaneiro = CQXMesAno::Make(1, kAno).Value();
// 63 characters: the longest complement filter kept.
const std::string kTextoLongo("Lancamento de teste com um texto longo para o filtro do complem");

// One generated entry as saved, and what became of it.
struct Gerado {
  uint16_t mes = 0;
  int32_t indlan = 0;
  RegDados dados{};
  std::string complemento;
  int32_t contaGerencial = 0;  // of its one split line, 0 for none
  bool excluido = false;
  bool conferido = false;
  int32_t Chave() const { return ((mes - kJaneiro) << 24) + indlan; }
};

using Criterio = std::function<bool(const Gerado&)>;

class FiltroBusca : public ServiceTest {
 protected:
  void Gera(IQXCN_Lancamento* s) {
    std::mt19937 sorte(20240);
    const auto um = [&](std::initializer_list<int> valores) {
      return *(valores.begin() + sorte() % valores.size());
    };
    const std::string complementos[] = {"",
                                        "A\xC7\xC3O DE COBRAN\xC7"
                                        "A",
                                        "a\xE7\xE3o judicial", "Pagamento de fornecedor",
                                        kTextoLongo + " fim"};
    for (int m = 1; m <= 12; ++m) {
      for (int i = 0; i < kPorMes; ++i) {
        Gerado g;
        g.mes = CQXMesAno::Make(m, kAno).Value();
        RegDados& d = g.dados;
        d.Documento = static_cast<int32_t>(sorte() % 500) + 1;
        d.DataLancamento = CQXData::Make(static_cast<int>(sorte() % 31) + 1, m, kAno).Value();
        d.Debito = um({4, 5, 6, 0});
        d.Credito = um({11, 12, 21});
        d.Valor.int64 = static_cast<int64_t>(sorte() % 100000) * 1000;
        d.CodHis = static_cast<int16_t>(um({1, 2, 3}));
        d.Filial = static_cast<int16_t>(um({1, 1, 2, 3}));
        const int modulo = um({0, 0, 6, 4, 21, 22, 66});
        d.wChaveOrigem.lChaveModulo =
            modulo == 0 ? 0 : MakeChaveModulo(sorte() % 3 + 1, static_cast<uint32_t>(modulo));
        d.wChaveOrigem.iData = modulo == 0 ? 0 : g.mes;
        d.cStatusIFRS = static_cast<unsigned char>(um({0, 0, 1}));
        g.complemento = complementos[sorte() % std::size(complementos)];
        g.contaGerencial = um({0, 0, 2, 3});
        Grava(s, &g);
        g.conferido = sorte() % 4 == 0;
        if (g.conferido) {
          EXPECT_EQ(s->GravaConferido(g.mes, g.indlan, 1), S_OK);
        }
        g.excluido = sorte() % 10 == 0;
        if (g.excluido) {
          EXPECT_EQ(s->Exclui(g.indlan, g.mes), S_OK);
        }
        gerados_.push_back(g);
      }
    }
  }

  void Grava(IQXCN_Lancamento* s, Gerado* g) {
    UniqueBstr texto(BstrFromCp1252(g->complemento));
    ASSERT_EQ(s->SetComplemento(texto.get()), S_OK);
    ASSERT_EQ(s->ZeraLancamentoGerencial(), S_OK);
    if (g->contaGerencial != 0) {
      RegLan_Ger linha{g->dados.Valor, 0, g->contaGerencial, g->dados.Debito, {}};
      ASSERT_EQ(s->SetLancamentoGerencial(1, &linha), S_OK);
    }
    int32_t indlan = 0;
    ASSERT_EQ(s->GravaDados(&g->dados, &indlan), S_OK);
    g->indlan = indlan;
  }

  // The keys of a search over the whole year.
  static std::vector<int32_t> Busca(IQXCN_Lancamento* s) {
    int32_t quantidade = 0;
    EXPECT_EQ(s->BuscaQtdLancamentos(CQXData::Make(1, 1, kAno).Value(),
                                     CQXData::Make(31, 12, kAno).Value(), &quantidade),
              S_OK);
    std::vector<Lancamentos> lista(static_cast<size_t>(quantidade));
    EXPECT_EQ(s->BuscaLancamentos(quantidade, lista.data()), S_OK);
    std::vector<int32_t> chaves;
    for (const Lancamentos& l : lista) chaves.push_back(l.Indlan);
    return chaves;
  }

  // The entries behind the keys, read month by month.
  static std::vector<RegDadosComplemento> LeChaves(IQXCN_Lancamento* s,
                                                   const std::vector<int32_t>& chaves) {
    std::map<int, std::vector<Lancamentos>> porMes;
    for (int32_t chave : chaves) porMes[chave >> 24].push_back({chave & 0xFFFFFF, {}});
    std::vector<RegDadosComplemento> lidos;
    for (auto& [deslocamento, posicoes] : porMes) {
      EXPECT_EQ(s->AbreEspecial(static_cast<uint16_t>(kJaneiro + deslocamento)), S_OK);
      std::vector<RegDadosComplemento> dados(posicoes.size());
      EXPECT_EQ(s->LeEspecialChavesComplemento(static_cast<int32_t>(posicoes.size()),
                                               posicoes.data(), dados.data()),
                S_OK);
      EXPECT_EQ(s->FechaEspecial(), S_OK);
      lidos.insert(lidos.end(), dados.begin(), dados.end());
    }
    return lidos;
  }

  // Runs the search and checks keys and entries against the generated ones
  // that are live, of an active branch and meet the criterion.
  void Confere(IQXCN_Lancamento* s, const Criterio& criterio) {
    std::vector<const Gerado*> esperados;
    std::vector<int32_t> chavesEsperadas;
    for (const Gerado& g : gerados_) {
      if (!g.excluido && g.dados.Filial != 3 && criterio(g)) {
        esperados.push_back(&g);
        chavesEsperadas.push_back(g.Chave());
      }
    }
    const std::vector<int32_t> chaves = Busca(s);
    ASSERT_EQ(chaves, chavesEsperadas);
    const std::vector<RegDadosComplemento> lidos = LeChaves(s, chaves);
    ASSERT_EQ(lidos.size(), esperados.size());
    for (size_t k = 0; k < lidos.size(); ++k) {
      const RegDados& lido = lidos[k].RegLan;
      const RegDados& gerado = esperados[k]->dados;
      EXPECT_EQ(lido.Documento, gerado.Documento);
      EXPECT_EQ(lido.DataLancamento, gerado.DataLancamento);
      EXPECT_EQ(lido.Valor.int64, gerado.Valor.int64);
      EXPECT_EQ(lido.Debito, gerado.Debito);
      EXPECT_EQ(lido.Credito, gerado.Credito);
      EXPECT_EQ(lido.Filial, gerado.Filial);
      EXPECT_EQ(lido.wChaveOrigem.lChaveModulo, gerado.wChaveOrigem.lChaveModulo);
      EXPECT_EQ(lido.cConferido, esperados[k]->conferido ? 1 : 0);
      EXPECT_EQ(lidos[k].cComplemento, esperados[k]->complemento);
    }
  }

  static int Modulo(const Gerado& g) { return OriginModule(g.dados.wChaveOrigem.lChaveModulo); }

  std::vector<Gerado> gerados_;
};

struct Caso {
  const char* nome;
  std::function<void(IQXCN_Lancamento*)> filtro;
  Criterio criterio;
};

TEST_P(FiltroBusca, SearchesFindExactlyTheMatchingEntries) {
  Servico servico = Inicializado();
  IQXCN_Lancamento* s = servico.get();
  Gera(s);
  const uint16_t abril = CQXMesAno::Make(4, kAno).Value();
  const uint16_t setembro = CQXMesAno::Make(9, kAno).Value();
  const auto complemento = [](IQXCN_Lancamento* s, const std::string& texto) {
    UniqueBstr bstr(BstrFromCp1252(texto));
    EXPECT_EQ(s->SetComplementoFiltro(bstr.get()), S_OK);
  };
  const auto origem = [](IQXCN_Lancamento* s, auto preenche) {
    REG_FILTRO_LAN r{};
    preenche(&r);
    EXPECT_EQ(s->SetFiltroOrigem(r), S_OK);
  };
  const Caso casos[] = {
      {"no filter", [](IQXCN_Lancamento*) {}, [](const Gerado&) { return true; }},
      {"documents",
       [](IQXCN_Lancamento* s) {
         s->SetDocumentoInicial(100);
         s->SetDocumentoFinal(300);
       },
       [](const Gerado& g) { return g.dados.Documento >= 100 && g.dados.Documento <= 300; }},
      {"amounts",
       [](IQXCN_Lancamento* s) {
         s->SetValorInicial(CURRENCY{1000 * 10000});
         s->SetValorFinal(CURRENCY{5000 * 10000});
       },
       [](const Gerado& g) {
         return g.dados.Valor.int64 >= 1000 * 10000 && g.dados.Valor.int64 <= 5000 * 10000;
       }},
      {"account", [](IQXCN_Lancamento* s) { s->SetConta(12); },
       [](const Gerado& g) { return g.dados.Debito == 12 || g.dados.Credito == 12; }},
      {"history", [](IQXCN_Lancamento* s) { s->SetHistoricoFiltro(2); },
       [](const Gerado& g) { return g.dados.CodHis == 2; }},
      {"months and positions",
       [=](IQXCN_Lancamento* s) {
         s->SetMesInicial(abril);
         s->SetChaveInicial(5);
         s->SetMesFinal(setembro);
         s->SetChaveFinal(10);
       },
       [=](const Gerado& g) {
         return g.mes >= abril && g.mes <= setembro && !(g.mes == abril && g.indlan < 5) &&
                !(g.mes == setembro && g.indlan > 10);
       }},
      {"complement", [=](IQXCN_Lancamento* s) { complemento(s, "acao"); },
       [](const Gerado& g) {
         return g.complemento.find("\xC7\xC3O") != std::string::npos ||
                g.complemento.find("\xE7\xE3o") != std::string::npos;
       }},
      {"complement cut to 63",
       [=](IQXCN_Lancamento* s) { complemento(s, kTextoLongo + "XXXXXXX"); },
       [](const Gerado& g) { return g.complemento == kTextoLongo + " fim"; }},
      {"branch", [=](IQXCN_Lancamento* s) { origem(s, [](REG_FILTRO_LAN* r) { r->iFilial = 2; }); },
       [](const Gerado& g) { return g.dados.Filial == 2; }},
      {"payables and typed entries",
       [=](IQXCN_Lancamento* s) {
         origem(s, [](REG_FILTRO_LAN* r) { r->bFinanceiro = r->bFNCPLan = r->bContabilidade = 1; });
       },
       [](const Gerado& g) { return Modulo(g) == 6 || g.dados.wChaveOrigem.lChaveModulo == 0; }},
      {"checked and IFRS",
       [=](IQXCN_Lancamento* s) {
         origem(s, [](REG_FILTRO_LAN* r) { r->bConferidos = r->bIFRS = 1; });
       },
       [](const Gerado& g) { return g.conferido && g.dados.cStatusIFRS != 0; }},
      {"managerial account", [](IQXCN_Lancamento* s) { s->SetContaGerencial(3); },
       [](const Gerado& g) { return g.contaGerencial == 3; }},
      {"combined",
       [=](IQXCN_Lancamento* s) {
         s->SetConta(4);
         s->SetValorInicial(CURRENCY{100 * 10000});
         s->SetValorFinal(CURRENCY{900 * 10000});
         s->SetMesFinal(setembro);
         complemento(s, "COBRAN");
         origem(s, [](REG_FILTRO_LAN* r) { r->bContabilidade = r->bFNCRLan = r->bFinanceiro = 1; });
       },
       [=](const Gerado& g) {
         return (g.dados.Debito == 4 || g.dados.Credito == 4) &&
                g.dados.Valor.int64 >= 100 * 10000 && g.dados.Valor.int64 <= 900 * 10000 &&
                g.mes <= setembro && g.complemento.find("COBRAN") != std::string::npos &&
                (Modulo(g) == 4 || g.dados.wChaveOrigem.lChaveModulo == 0);
       }},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    ASSERT_EQ(s->LimpaFiltro(), S_OK);
    caso.filtro(s);
    Confere(s, caso.criterio);
  }
  // The filter outlives its search; LimpaFiltro clears every field.
  ASSERT_EQ(s->SetConta(12), S_OK);
  const std::vector<int32_t> primeira = Busca(s);
  EXPECT_EQ(Busca(s), primeira);
  ASSERT_EQ(s->LimpaFiltro(), S_OK);
  Confere(s, [](const Gerado&) { return true; });
}

QX_SERVICE_SUITE(FiltroBusca);

}  // namespace
}  // namespace qx
