// The entry object of the test company and its month files, written and read
// straight through the record layer: the fixtures of the entry tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "../entries/mes_gravado.h"
#include "../entries/test_company.h"
#include "contract/records_split.h"
#include "lancamento/lancamento_base.h"
#include "outside/admin/company_admin.h"
#include "outside/admin/suite_setup.h"
#include "platform/bstr.h"
#include "values/qx_data.h"
#include "values/qx_dmcps.h"
#include "values/qx_mes_ano.h"

namespace qx {

// Months and days of 2024.
inline CQXMesAno Mes(int mes) { return CQXMesAno::Make(mes, 2024); }
inline uint32_t Dia(int dia, int mes) { return CQXData::Make(dia, mes, 2024).Value(); }
inline const uint16_t kMarco = CQXMesAno::Make(3, 2024).Value();

// A live typed entry of branch 1 (active for the test user), debit 4, credit
// 11, 100.00, document 100 + day, session key 3.
inline EntryRecord Registro(int dia, int32_t debito = 4, int32_t credito = 11,
                            int64_t valor = 1000000, uint16_t filial = 1) {
  EntryRecord r{};
  r.cDia = static_cast<int8_t>(dia);
  r.Debito = debito;
  r.Credito = credito;
  r.Valor.int64 = valor;
  r.Filial = filial;
  r.Documento = 100 + dia;
  r.CodHis = 1;
  r.Secao = 3;
  return r;
}

// A live entry of day 15 of March with every field set, both accounts.
inline EntryRecord EntradaCompleta(int32_t documento) {
  EntryRecord registro = Registro(15, 1101, 2101, 1234500);
  registro.Documento = documento;
  registro.Secao = 0x12345;
  registro.lChaveModulo = MakeChaveModulo(77, 3);
  registro.iData = kMarco;
  registro.CodHis = 9;
  registro.cConferido = 'S';
  registro.cStatusIFRS = 4;
  return registro;
}

// A split line: owner word, managerial and accounting accounts, amount.
inline REGLAN_GER Line(uint32_t dono, int32_t gerencial, int32_t contabil, int64_t valor) {
  return REGLAN_GER{CURRENCY{valor}, dono, gerencial, contabil};
}

// A target of a redistribution with its percentage (ten-thousandths).
inline REG_REDISTR_GERENCIAL Alvo(uint16_t conta, int64_t percentual) {
  REG_REDISTR_GERENCIAL alvo{};
  alvo.iContaGerencial = conta;
  alvo.vPercentual.int64 = percentual;
  return alvo;
}

// Every difference total of the company, and their sum.
inline std::vector<Reg_Dif> Diferencas(CLancamentoBase& objeto) {
  int32_t quantidade = -1;
  EXPECT_EQ(objeto.GetQuantidadeDiferenca(&quantidade), S_OK);
  std::vector<Reg_Dif> lista(quantidade > 0 ? quantidade : 0);
  EXPECT_EQ(objeto.GetDiferenca(quantidade, lista.data()), S_OK);
  return lista;
}
inline int64_t SomaDiferencas(CLancamentoBase& objeto) {
  int64_t soma = 0;
  for (const Reg_Dif& diferenca : Diferencas(objeto)) soma += diferenca.Valor.int64;
  return soma;
}

// The test company (with document management when asked) and an entry object
// initialised for user 1 (session key 3) at SetUp.
class LancamentoTest : public ::testing::Test {
 protected:
  explicit LancamentoTest(bool ged = false) : company_(ged) {}
  void SetUp() override { Inicializa(); }
  void Inicializa() { ASSERT_EQ(objeto_.Inicializa(RegistroInicializacao()), S_OK); }

  MesGravado Arquivos(uint16_t mes = kMarco) const { return {company_.CnFolder(), mes}; }
  MesGravado Arquivos(CQXMesAno mes) const { return Arquivos(mes.Value()); }
  std::string Caminho(const char* prefixo, uint16_t mes = kMarco) const {
    return Arquivos(mes).Nome(prefixo);
  }
  std::string Bytes(const char* prefixo, uint16_t mes = kMarco) const {
    return TestCompany::ReadAll(Caminho(prefixo, mes));
  }
  // Makes the file anew: its zero record, then the records from position 1.
  template <class Record>
  void Write(const char* prefixo, const std::vector<Record>& records, uint16_t mes = kMarco) {
    Arquivos(mes).Recria(prefixo, records);
  }
  // The records from position `primeiro` to the end.
  template <class Record>
  std::vector<Record> Read(const char* prefixo, uint16_t mes = kMarco,
                           uint32_t primeiro = 1) const {
    return Arquivos(mes).template Le<Record>(prefixo, primeiro);
  }
  // Appends the records to the month's CNLC (made when missing).
  void Acrescenta(CQXMesAno mes, const std::vector<EntryRecord>& registros) const {
    for (const EntryRecord& r : registros) Arquivos(mes).Lancamento(r);
  }
  // Appends a complement text and its carriage return; its offset.
  int32_t AcrescentaComplemento(CQXMesAno mes, const std::string& texto) const {
    return Arquivos(mes).Complemento(texto + '\r');
  }
  // The month's counts: entries, deleted ones, split lines, imports.
  std::tuple<int32_t, int32_t, int32_t, int32_t> Contagem(uint16_t mes = kMarco,
                                                          HRESULT esperado = S_OK) {
    int32_t l = -1, e = -1, g = -1, i = -1;
    EXPECT_EQ(objeto_.PegaQuantidadeRegistros(mes, &l, &e, &g, &i), esperado);
    return {l, e, g, i};
  }

  // The count of a filtered search over the dates.
  int32_t Quantos(uint32_t inicial, uint32_t final) {
    int32_t quantidade = -1;
    EXPECT_EQ(objeto_.BuscaQtdLancamentos(inicial, final, &quantidade), S_OK);
    return quantidade;
  }
  // The keys of the last search, fetched with BuscaLancamentos.
  std::vector<int32_t> Chaves(int32_t quantidade) {
    std::vector<Lancamentos> lista(static_cast<size_t>(quantidade));
    EXPECT_EQ(objeto_.BuscaLancamentos(quantidade, lista.data()), S_OK);
    std::vector<int32_t> chaves;
    for (const Lancamentos& l : lista) chaves.push_back(l.Indlan);
    return chaves;
  }

  TestCompany company_;
  CLancamentoBase objeto_;
};

// Saves through the published interface, with new objects of their own.
class SavingTest : public LancamentoTest {
 protected:
  static constexpr CQXData kData = CQXData::Make(15, 3, 2024);

  explicit SavingTest(bool ged = false) : LancamentoTest(ged) {}
  void SetUp() override {}

  static uint16_t Mes(CQXData data = kData) { return data.MesAno().Value(); }

  // A new business object initialised for user 1 (session key 3).
  static std::unique_ptr<CLancamentoBase> Objeto() {
    auto objeto = std::make_unique<CLancamentoBase>();
    EXPECT_EQ(objeto->Inicializa(RegistroInicializacao()), S_OK);
    return objeto;
  }

  // Fills the current entry: branch 1, the date, the accounts and amount (in
  // whole units) and a complement.
  static void Preenche(CLancamentoBase& objeto, int32_t debito, int32_t credito, int64_t valor,
                       const char* complemento = "", CQXData data = kData) {
    objeto.SetFilial(1);
    objeto.SetData(data.Value());
    objeto.SetDebito(debito);
    objeto.SetCredito(credito);
    objeto.SetValor(CURRENCY{valor * 10000});
    objeto.SetDocumento(77);
    objeto.SetHistorico(1);
    Texto(objeto, complemento);
  }
  static void Texto(CLancamentoBase& objeto, const std::string& complemento) {
    UniqueBstr texto(BstrFromCp1252(complemento));
    objeto.SetComplemento(texto.get());
  }
  // Saves the current entry, new (0) or over `indlan`, expecting `esperado`;
  // the position handed back.
  static int32_t Grava(CLancamentoBase& objeto, int32_t indlan = 0, HRESULT esperado = S_OK) {
    EXPECT_EQ(objeto.Grava(&indlan), esperado);
    return indlan;
  }

  // An entry data record of branch 1 on the test date, the amount in ten-thousandths.
  static RegDados Dados(int32_t debito, int32_t credito, int64_t valor) {
    RegDados dados{};
    dados.DataLancamento = kData.Value();
    dados.Debito = debito;
    dados.Credito = credito;
    dados.Filial = 1;
    dados.Valor = CURRENCY{valor};
    return dados;
  }

  // Hands the object a split of `linhas` lines of 10 each on accounts 2, 3, ...
  static void Divide(CLancamentoBase& objeto, uint16_t linhas) {
    std::vector<RegLan_Ger> lista(linhas);
    for (uint16_t i = 0; i < linhas; ++i) {
      lista[i].Valor = CURRENCY{100000};
      lista[i].ContaGerencial = 2 + i;
      lista[i].ContaContabil = 4;
    }
    ASSERT_EQ(objeto.SetLancamentoGerencial(linhas, lista.data()), S_OK);
  }

  std::string Bytes(const char* prefixo, CQXData data = kData) const {
    return LancamentoTest::Bytes(prefixo, Mes(data));
  }
  std::string Caminho(const char* prefixo, CQXData data = kData) const {
    return LancamentoTest::Caminho(prefixo, Mes(data));
  }
  // The records of a month file, the zero record included.
  template <class Registro>
  std::vector<Registro> Registros(const char* prefixo, CQXData data = kData) const {
    return Read<Registro>(prefixo, Mes(data), 0);
  }
  std::vector<EntryRecord> Lancamentos(CQXData data = kData) const {
    return Registros<EntryRecord>(kPrefixoLancamentos, data);
  }
  std::vector<REGLAN_GER> Linhas(CQXData data = kData) const {
    return Registros<REGLAN_GER>(kPrefixoGerencial, data);
  }
  // The complement text at an offset of the month's heap, up to its end.
  std::string Complemento(uint32_t posicao, CQXData data = kData) const {
    const std::string heap = Bytes(kPrefixoComplementos, data);
    return posicao >= heap.size() ? "" : std::string(heap.c_str() + posicao);
  }

  static std::vector<RegistroLog> Log() { return TestCompany::ChangeLog(); }
  static std::vector<std::string> Sequencia(size_t desde = 0) {
    return TestCompany::ChangeLogItems(desde);
  }

  CURRENCY Diferenca(CLancamentoBase& objeto, CQXData data = kData) const {
    CURRENCY total{};
    int32_t tem = 0;
    EXPECT_EQ(objeto.BuscaDiferencaDC(data.Value(), 1, 1, &total, &tem), S_OK);
    return total;
  }
};

// The month files of March with their zero records only, and of April.
class MesesTest : public LancamentoTest {
 protected:
  explicit MesesTest(bool ged = false) : LancamentoTest(ged) {}
  void SetUp() override {
    Inicializa();
    ASSERT_EQ(objeto_.CriaArquivoMes(kMarco), S_OK);
  }

  MesGravado marco_ = Arquivos(kMarco);
  MesGravado abril_ = Arquivos(static_cast<uint16_t>(kMarco + 1));

  // Appends a split chain of `dono` with one line per managerial account,
  // amounts 1.00, 2.00...; the first line's position.
  int32_t Gerencial(uint32_t dono, std::initializer_list<int32_t> contas,
                    const MesGravado* mes = nullptr) const {
    int32_t primeira = 0;
    int64_t valor = 0;
    for (int32_t conta : contas) {
      valor += 10000;
      const int32_t posicao =
          (mes ? *mes : marco_).Acrescenta(kPrefixoGerencial, Line(dono, conta, 4, valor));
      if (primeira == 0) primeira = posicao;
    }
    return primeira;
  }
};

}  // namespace qx

// Split lines compare and print field by field (the records have no operators).
inline bool operator==(const REGLAN_GER& a, const REGLAN_GER& b) {
  return a.Valor.int64 == b.Valor.int64 && a.Indlan == b.Indlan &&
         a.ContaGerencial == b.ContaGerencial && a.ContaContabil == b.ContaContabil;
}

inline void PrintTo(const REGLAN_GER& l, std::ostream* os) {
  *os << "{" << l.Valor.int64 << ", " << l.Indlan << ", " << l.ContaGerencial << ", "
      << l.ContaContabil << "}";
}
