// Reading stored entries: into the current entry, into entry data records,
// deleted ones as they are, foreign-currency amounts and complement texts.
#include <filesystem>
#include <string>

#include "entries/registro_log.h"
#include "platform/bstr.h"
#include "reading_fixture.h"

namespace qx {
namespace {

constexpr HRESULT kExcluido = 0x000405F7;
constexpr HRESULT kInexistente = 0x000405F8;
constexpr HRESULT kFimDeArquivo = static_cast<HRESULT>(0x80040000u | ARQ_FIM_DE_ARQUIVO);

TEST(Le, DeletedEntriesGiveTheirMessageAndLeaveTheCurrentEntry) {
  Leitura t;
  const int32_t viva = t.Lancamento(Entrada(11));
  EntryRecord apagada = Entrada(22);
  apagada.cStatus = kEntryDeleted;
  const int32_t excluida = t.Lancamento(apagada);

  ASSERT_EQ(t.objeto.Le(viva, kMes), S_OK);
  EXPECT_EQ(t.objeto.Le(excluida, kMes), kExcluido);
  int32_t documento = 0;
  ASSERT_EQ(t.objeto.GetDocumento(&documento), S_OK);
  EXPECT_EQ(documento, 11) << "the entry loaded before stays current";

  RegDados dados{};
  EXPECT_EQ(t.objeto.LeDados(excluida, kMes, &dados), static_cast<HRESULT>(0x800405F7u));
  EXPECT_EQ(t.objeto.LeLancamentoExcluido(excluida, kMes, &dados), kExcluido);
  EXPECT_EQ(dados.Documento, 22);
  EXPECT_EQ(dados.DataLancamento, CQXData::Make(15, 3, 2024).Value());
  EXPECT_EQ(dados.Secao, 0x12345);
  EXPECT_EQ(dados.cConferido, 0) << "not taken from the record";
  EXPECT_EQ(dados.cStatusIFRS, 0);
  EXPECT_EQ(t.objeto.LeLancamentoExcluido(viva, kMes, &dados), S_OK);
  EXPECT_EQ(dados.Documento, 11);
  EXPECT_EQ(t.objeto.LeLancamentoExcluido(99, kMes, &dados), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(t.objeto.LeLancamentoExcluido(viva, kMes, nullptr), E_POINTER);
}

TEST(Le, EntryDataRecordCarriesEveryField) {
  Leitura t;
  EntryRecord registro = Entrada(11);
  registro.Complemento = t.Complemento("texto\r");
  registro.Gerencial = 7;
  const int32_t indlan = t.Lancamento(registro);

  RegDados dados;
  std::memset(&dados, 0xAB, sizeof dados);
  ASSERT_EQ(t.objeto.LeDados(indlan, kMes, &dados), S_OK);
  EXPECT_EQ(dados.Documento, 11);
  EXPECT_EQ(dados.Complemento, registro.Complemento);
  EXPECT_EQ(dados.Gerencial, 7);
  EXPECT_EQ(dados.DataLancamento, CQXData::Make(15, 3, 2024).Value());
  EXPECT_EQ(dados.wChaveOrigem.lChaveModulo, MakeChaveModulo(77, 3));
  EXPECT_EQ(dados.wChaveOrigem.iData, kMes);
  EXPECT_EQ(dados.Valor.int64, 1234500);
  EXPECT_EQ(dados.ValorMoeda.int64, 0);
  EXPECT_EQ(dados.Debito, 1101);
  EXPECT_EQ(dados.Credito, 2101);
  EXPECT_EQ(dados.Secao, 0x12345);
  EXPECT_EQ(dados.CodHis, 9);
  EXPECT_EQ(dados.Filial, 1);
  EXPECT_EQ(dados.cGravarZero, 0);
  EXPECT_EQ(dados.cConferido, 'S');
  EXPECT_EQ(dados.cStatusIFRS, 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(dados.cFiller), 5), std::string(5, '\0'));

  RegDadosComplemento completo{};
  ASSERT_EQ(t.objeto.LeDadosComplemento(indlan, kMes, &completo), S_OK);
  EXPECT_EQ(completo.RegLan.Documento, 11);
  EXPECT_STREQ(completo.cComplemento, "texto\r");

  // No index or no month: nothing is read, not even a file made.
  const std::string mesZero = NomeArquivoMes(t.company.CnFolder(), kPrefixoLancamentos, 0);
  EXPECT_EQ(t.objeto.LeDados(indlan, 0, &dados), kInexistente);
  EXPECT_EQ(t.objeto.LeDados(0, kMes, &dados), kInexistente);
  EXPECT_EQ(t.objeto.LeDadosComplemento(indlan, 0, &completo), kInexistente);
  EXPECT_FALSE(std::filesystem::exists(mesZero));

  EXPECT_EQ(t.objeto.Le(99, kMes), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(t.objeto.LeDados(99, kMes, &dados), kFimDeArquivo);
  EXPECT_EQ(t.objeto.Le(0, kMes), S_OK) << "the zero record loads an empty entry";
  ULONG data = 1;
  ASSERT_EQ(t.objeto.GetData(&data), S_OK);
  EXPECT_EQ(data, 0u);
}

TEST(Le, ForeignCurrencyAmountsComeFromTheirFile) {
  Leitura t({.moeda = true});
  EntryRecord registro = Entrada(1);
  registro.cStatus = kEntryLiveWithCurrency;
  const int32_t comValor = t.Lancamento(registro);
  const int32_t zerado = t.Lancamento(registro);
  registro.cStatus = kEntryLive;
  const int32_t semMoeda = t.Lancamento(registro);
  registro.cStatus = kEntryLiveWithCurrency;
  const int32_t semRegistro = t.Lancamento(registro);
  for (const auto& [posicao, valor] :
       {std::pair{comValor, 777}, std::pair{zerado, 0}, std::pair{semMoeda, 555}}) {
    CurrencyRecord moeda{};
    moeda.ValorMoeda.int64 = valor;
    t.Grava(kPrefixoMoeda, &moeda, kCurrencyRecordSize, static_cast<uint32_t>(posicao));
  }

  RegDados dados{};
  ASSERT_EQ(t.objeto.LeDados(comValor, kMes, &dados), S_OK);
  EXPECT_EQ(dados.ValorMoeda.int64, 777);
  EXPECT_EQ(dados.cGravarZero, 0);
  ASSERT_EQ(t.objeto.LeDados(zerado, kMes, &dados), S_OK);
  EXPECT_EQ(dados.ValorMoeda.int64, 0);
  EXPECT_EQ(dados.cGravarZero, 'S');
  ASSERT_EQ(t.objeto.LeDados(semMoeda, kMes, &dados), S_OK);
  EXPECT_EQ(dados.ValorMoeda.int64, 0) << "only status 2 has an amount";
  EXPECT_EQ(dados.cGravarZero, 0) << "every read clears it first";
  EXPECT_EQ(t.objeto.Le(semRegistro, kMes), ARQ_FIM_DE_ARQUIVO);
  int32_t documento = 0;
  ASSERT_EQ(t.objeto.GetDocumento(&documento), S_OK);
  EXPECT_EQ(documento, 1) << "the entry's own fields are loaded before the amount is read";
}

TEST(LeComplemento, ReadsAreBoundedByReturnZeroOrLength) {
  Leitura t;
  const auto texto = [&](const std::string& bytes) {
    EntryRecord registro = Entrada(1);
    registro.Complemento = t.Complemento(bytes);
    const int32_t indlan = t.Lancamento(registro);
    BSTR lido = nullptr;
    const HRESULT hr = t.objeto.GetComplemento(&lido, kMes, indlan);
    EXPECT_EQ(hr, S_OK);
    const std::string resultado = BstrToCp1252(lido);
    SysFreeString(lido);
    return resultado;
  };
  EXPECT_EQ(texto(std::string("primeiro\rseguinte")), "primeiro\r");
  EXPECT_EQ(texto(std::string("com\0zero", 8)), "com");
  EXPECT_EQ(texto(std::string(600, 'x')), std::string(499, 'x'));
  EXPECT_EQ(texto(std::string(499, 'y') + "\r"), std::string(499, 'y') + "\r");
  EXPECT_EQ(texto("a\xE7\xE3o"), "a\xE7\xE3o") << "at the end of the heap, without return";

  char lido[512];
  std::memset(lido, 'z', sizeof lido);
  EXPECT_EQ(t.objeto.LeComplemento(CQXData::Make(1, 3, 2024), 0, lido), ARQ_OK);
  EXPECT_STREQ(lido, "");
  EXPECT_EQ(t.objeto.LeComplemento(CQXData::Make(1, 3, 2024), 1u << 20, lido), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(t.objeto.LeComplemento(CQXData::Make(1, 4, 2024), 1, lido), ARQ_NAO_ENCONTRADO)
      << "a missing heap is not made by a read";
  EXPECT_FALSE(std::filesystem::exists(
      NomeArquivoMes(t.company.CnFolder(), kPrefixoComplementos, kMes + 1)));

  // No complement, a deleted entry, no place for the text.
  const int32_t semTexto = t.Lancamento(Entrada(2));
  BSTR vazio = nullptr;
  ASSERT_EQ(t.objeto.GetComplemento(&vazio, kMes, semTexto), S_OK);
  EXPECT_EQ(SysStringLen(vazio), 0u);
  SysFreeString(vazio);
  EntryRecord apagada = Entrada(3);
  apagada.cStatus = kEntryDeleted;
  const int32_t excluida = t.Lancamento(apagada);
  BSTR nenhum = reinterpret_cast<BSTR>(&apagada);
  EXPECT_EQ(t.objeto.GetComplemento(&nenhum, kMes, excluida), kExcluido);
  EXPECT_EQ(nenhum, nullptr);
  EXPECT_EQ(t.objeto.GetComplemento(nullptr, kMes, semTexto), E_POINTER);
}

}  // namespace
}  // namespace qx
