// The entries' history read back after saves, an update of every field, a
// split replaced by another, a check, a removal, and an import with its
// removal, all made through the entry service by two users.
#include "reports/historico.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../entries/test_company.h"
#include "../platform/ostrel_program.h"
#include "outside/admin/company_admin.h"
#include "reports/grava.h"
#include "storage/records/entry_records.h"
#include "values/qx_data.h"
#include "values/qx_dmcps.h"

namespace qx {
namespace {

const CQXMesAno kMarco = CQXMesAno::Make(3, 2024);
constexpr uint32_t kSessaoA = 0x3000, kSessaoB = 0x5000;
constexpr uint32_t kLote = 5;

struct Linha {
  int32_t conta, contabil;
  int64_t valor, quantidade;
};

struct Entrada {
  int dia;
  int32_t debito, credito;
  int64_t valor;
  int16_t filial, historico;
  int32_t documento;
  const char* complemento;
  std::vector<Linha> linhas;
  int64_t moeda;
  uint32_t lote;
};

int32_t Salva(SessaoLancamento& s, const Entrada& e, int32_t indlan) {
  RegDados d{};
  d.DataLancamento = CQXData::FromMesAno(kMarco, e.dia).Value();
  d.Debito = e.debito;
  d.Credito = e.credito;
  d.Valor.int64 = e.valor;
  d.Filial = e.filial;
  d.CodHis = e.historico;
  d.Documento = e.documento;
  d.ValorMoeda.int64 = e.moeda;
  if (e.lote != 0) d.wChaveOrigem.lChaveModulo = MakeChaveModulo(e.lote, kImportModule);
  RegistrosRateio rateio;
  for (const Linha& l : e.linhas) {
    rateio.linhas.push_back({CURRENCY{l.valor}, 0, l.conta, l.contabil, {}});
    rateio.quantidades.push_back({CURRENCY{l.quantidade}});
  }
  GravaLancamento(s, &d, e.complemento, &rateio, &indlan);
  return indlan;
}

// A value as the test writes it: numbers, texts, lines "account/accounting:amount*quantity".
std::string Texto(const std::optional<ValorCampo>& v) {
  if (!v) return "";
  if (!v->texto.empty()) return v->texto;
  if (v->linhas.empty()) return std::to_string(v->numero);
  std::string t;
  for (const LinhaRateioGravada& l : v->linhas) {
    t += (t.empty() ? "" : " ") + std::to_string(l.conta) + "/" + std::to_string(l.contaContabil) +
         ":" + std::to_string(l.valor) + "*" + std::to_string(l.quantidade.value_or(-1));
  }
  return t;
}

// Each event as "kind position user session", then one "field: old > new" per change.
std::vector<std::string> Le(const FiltroEventos& filtro) {
  std::vector<EventoHistorico> eventos;
  EXPECT_EQ(LeHistorico(*TestCompany::Database(), filtro, &eventos), S_OK);
  std::vector<std::string> linhas;
  for (const EventoHistorico& e : eventos) {
    EXPECT_EQ(e.mes, kMarco);
    linhas.push_back(std::string(1, e.tipo) + " " + std::to_string(e.posicao) + " " +
                     std::to_string(e.usuario.value_or(0)) + " " + std::to_string(e.sessao) +
                     (e.lote != 0 ? " lote " + std::to_string(e.lote) : ""));
    for (const Mudanca& m : e.mudancas) {
      linhas.push_back(std::string(NomeCampo(m.campo)) + ": " +
                       (m.antesDesconhecido ? "?" : Texto(m.antes)) + " > " + Texto(m.depois));
    }
  }
  return linhas;
}

std::string Dia(int dia) { return std::to_string(CQXData::FromMesAno(kMarco, dia).Value()); }

// An entry's events in full, and the events alone that each filter finds.
TEST(Historico, EachChangeComesBackWithItsOldAndNewValuesAndFiltersFindTheEvents) {
  TestCompany company;
  const test::ScopedEnv runtime("QX_RUNTIME_DIR", company.root() + "/run");
  test::RegisterOstrel();
  company.SetConfig("foreign-currency", 1);
  ASSERT_EQ(AdicionaUsuario(*TestCompany::Database(), {2, "AUDITOR", {1, 2}}), S_OK);
  SessaoLancamento um({TestCompany::kCodigo, "teste", 1, kSessaoA}),
      dois({TestCompany::kCodigo, "teste", 2, kSessaoB});
  ASSERT_EQ(Salva(um, {15, 4, 11, 1000000, 1, 1, 77, "Aluguel",
                      {{2, 4, 600000, 15000}, {3, 4, 400000, 20000}}, 200000, 0}, 0),
            1);
  ASSERT_EQ(Salva(dois, {20, 5, 12, 2000000, 2, 2, 88, "Aluguel de mar\xE7o",
                      {{4, 5, 2000000, 30000}}, 400000, 0}, 1),
            1);
  ASSERT_EQ(um->GravaConferido(kMarco.Value(), 1, 1), S_OK);
  ASSERT_EQ(dois->Exclui(1, kMarco.Value()), S_OK);
  const Entrada importado{10, 4, 21, 50000, 1, 0, 0, "Venda", {}, 0, kLote};
  ASSERT_EQ(Salva(um, importado, 0), 2);
  ASSERT_EQ(Salva(um, importado, 0), 3);
  int32_t posicoes[] = {2, 3};
  CNLAN_EXCLUSAO_MES_IMP_PS mes{2, kMarco.Value(), {}, posicoes, nullptr};
  CNLAN_EXCLUSAO_IMP_PS pedido{1, {}, &mes, nullptr};
  CNLAN_RESULTADO_EXCLUSAO_IMP_PS resultado{};
  ASSERT_EQ(dois->ExclusaoImportacao(pedido, &resultado), S_OK);
  ASSERT_EQ(resultado.nQtdExcluidos, 2u);

  const std::string a = " 1 " + std::to_string(kSessaoA), b = " 2 " + std::to_string(kSessaoB);
  const std::string lote = " lote " + std::to_string(kLote);
  const auto filtro = [](auto ajusta) {
    FiltroEventos f;
    ajusta(f);
    return f;
  };
  const std::pair<FiltroEventos, std::vector<std::string>> entradas[] = {
      {filtro([](FiltroEventos& f) { f.mes = kMarco.Value(), f.posicao = 1; }),
       {"I 1" + a, "data:  > " + Dia(15), "debito:  > 4", "credito:  > 11", "valor:  > 1000000",
        "filial:  > 1", "documento:  > 77", "historico:  > 1", "complemento:  > Aluguel",
        "gerencial:  > 2/4:600000*15000 3/4:400000*20000", "valor_moeda:  > 200000",
        "A 1" + b, "data: " + Dia(15) + " > " + Dia(20), "debito: 4 > 5", "credito: 11 > 12",
        "valor: 1000000 > 2000000", "filial: 1 > 2", "documento: 77 > 88", "historico: 1 > 2",
        "complemento: Aluguel > Aluguel de mar\xE7o",
        "gerencial: 2/4:600000*15000 3/4:400000*20000 > 4/5:2000000*30000",
        "valor_moeda: 200000 > 400000", "C 1" + a, "conferido: 0 > 1", "E 1" + b,
        "data: " + Dia(20) + " > ", "debito: 5 > ", "credito: 12 > ", "valor: 2000000 > ",
        "filial: 2 > ", "documento: 88 > ", "historico: 2 > ",
        "complemento: Aluguel de mar\xE7o > ", "gerencial: 4/5:2000000*30000 > ",
        "valor_moeda: 400000 > "}},
      {filtro([](FiltroEventos& f) { f.mes = kMarco.Value(), f.posicao = 2, f.lote = kLote; }),
       {"I 2" + a + lote, "data:  > " + Dia(10), "debito:  > 4", "credito:  > 21",
        "valor:  > 50000", "filial:  > 1", "complemento:  > Venda", "origem:  > 21:5",
        "E 2" + b + lote, "data: " + Dia(10) + " > ", "debito: 4 > ", "credito: 21 > ",
        "valor: 50000 > ", "filial: 1 > ", "complemento: Venda > ", "origem: 21:5 > "}}};
  for (const auto& [quais, linhas] : entradas) EXPECT_EQ(Le(quais), linhas);
  const std::pair<FiltroEventos, std::vector<std::string>> resumos[] = {
      {filtro([](FiltroEventos& f) { f.lote = kLote; }), {"I 2", "I 3", "E 2", "E 3"}},
      {filtro([](FiltroEventos& f) { f.usuario = 2; }), {"A 1", "E 1", "E 2", "E 3"}},
      {filtro([](FiltroEventos& f) { f.sessao = kSessaoA; }), {"I 1", "C 1", "I 2", "I 3"}},
      {filtro([](FiltroEventos& f) { f.tipos = "EC"; }), {"C 1", "E 1", "E 2", "E 3"}}};
  for (const auto& [quais, eventos] : resumos) {
    std::vector<std::string> lidos;
    for (const std::string& linha : Le(quais)) {
      if (linha.find(':') == std::string::npos) lidos.push_back(linha.substr(0, 3));
    }
    EXPECT_EQ(lidos, eventos);
  }
}

}  // namespace
}  // namespace qx
