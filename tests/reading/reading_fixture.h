// A company with an initialised entry service object and one month whose
// files the tests fill record by record through the storage layer.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../entries/test_company.h"
#include "entries/lancamento_base.h"
#include "outside/company_admin.h"
#include "outside/suite_setup.h"
#include "storage/month_name.h"
#include "storage/qx_arq.h"
#include "values/qx_mes_ano.h"

namespace qx {

inline const uint16_t kMes = CQXMesAno::Make(3, 2024).Value();

struct Opcoes {
  bool ged = false;
  bool moeda = false;  // the company keeps foreign-currency amounts
};

struct Leitura {
  explicit Leitura(Opcoes opcoes = {}) : company(opcoes.ged) {
    if (opcoes.moeda) company.SetConfig("foreign-currency", 1);
    EXPECT_EQ(objeto.Inicializa(RegistroInicializacao()), S_OK);
    EXPECT_EQ(objeto.CriaArquivoMes(kMes), S_OK);
  }

  std::string Caminho(const char* prefixo, uint16_t mes = kMes) const {
    return NomeArquivoMes(objeto.GetPastaEmpresa(), prefixo, mes);
  }

  // Writes `tamanho` bytes at record `posicao` (0 appends) and gives the position.
  uint32_t Grava(const char* prefixo, const void* bytes, uint32_t tamanho, uint32_t posicao = 0,
                 uint16_t mes = kMes) const {
    CQXarq arq;
    EXPECT_EQ(arq.Abre(Caminho(prefixo, mes).c_str(), 'G', tamanho, true), ARQ_OK);
    EXPECT_EQ(arq.Grava(bytes, &posicao, tamanho), ARQ_OK);
    arq.Fecha();
    return posicao;
  }

  // Appends an entry record and gives its index.
  int32_t Lancamento(const EntryRecord& registro, uint16_t mes = kMes) const {
    return static_cast<int32_t>(Grava(kPrefixoLancamentos, &registro, kEntryRecordSize, 0, mes));
  }

  // Appends split lines owned by `dono` and gives the first position.
  int32_t Linhas(uint32_t dono, int quantidade) const {
    uint32_t primeira = 0;
    for (int i = 0; i < quantidade; ++i) {
      REGLAN_GER linha{};
      linha.Valor.int64 = 10000 * (i + 1);
      linha.Indlan = dono;
      linha.ContaGerencial = 500 + i;
      const uint32_t p = Grava(kPrefixoGerencial, &linha, kSplitRecordSize);
      if (i == 0) primeira = p;
    }
    return static_cast<int32_t>(primeira);
  }

  // Appends text bytes to the complement heap and gives their offset.
  int32_t Complemento(const std::string& bytes) const {
    CQXarq arq;
    EXPECT_EQ(arq.Abre(Caminho(kPrefixoComplementos).c_str(), 'G',
                       static_cast<uint32_t>(bytes.size()), true),
              ARQ_OK);
    uint32_t tamanho = 0;
    EXPECT_EQ(arq.Posiciona('F', 0, &tamanho), ARQ_OK);
    uint32_t posicao = 0;
    EXPECT_EQ(arq.Grava(bytes.data(), &posicao, static_cast<uint32_t>(bytes.size())), ARQ_OK);
    arq.Fecha();
    return static_cast<int32_t>(tamanho);
  }

  EntryRecord Registro(int32_t indlan) const {
    EntryRecord registro{};
    CQXarq arq;
    EXPECT_EQ(arq.Abre(Caminho(kPrefixoLancamentos).c_str(), 'L', kEntryRecordSize, true), ARQ_OK);
    EXPECT_EQ(arq.Le(static_cast<uint32_t>(indlan), &registro), ARQ_OK);
    return registro;
  }

  std::shared_ptr<SuiteDatabase> Banco() const { return TestCompany::Database(); }
  std::vector<RegistroLog> Log() const { return TestCompany::ChangeLog(); }
  std::vector<NotificacaoGed> Ged() const { return TestCompany::GedNotices(); }

  TestCompany company;
  CLancamentoBase objeto;
};

// A live entry of day 15 with both accounts.
inline EntryRecord Entrada(int32_t documento) {
  EntryRecord registro{};
  registro.Documento = documento;
  registro.Debito = 1101;
  registro.Credito = 2101;
  registro.Secao = 0x12345;
  registro.Valor.int64 = 1234500;
  registro.lChaveModulo = MakeChaveModulo(77, 3);
  registro.iData = kMes;
  registro.CodHis = 9;
  registro.Filial = 1;
  registro.cDia = 15;
  registro.cConferido = 'S';
  registro.cStatusIFRS = 4;
  return registro;
}

}  // namespace qx
