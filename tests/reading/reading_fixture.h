// A company with an initialised entry service object and one month whose
// files the tests fill record by record through the storage layer.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../entries/mes_gravado.h"
#include "../entries/test_company.h"
#include "lancamento/lancamento_base.h"
#include "outside/admin/company_admin.h"
#include "outside/admin/suite_setup.h"
#include "values/qx_mes_ano.h"

namespace qx {

inline const uint16_t kMes = CQXMesAno::Make(3, 2024).Value();

struct Opcoes {
  bool ged = false;
  bool moeda = false;  // the company keeps foreign-currency amounts
};

struct ComEmpresa {
  explicit ComEmpresa(bool ged) : company(ged) {}
  TestCompany company;
};

struct Leitura : ComEmpresa, MesGravado {
  explicit Leitura(Opcoes opcoes = {})
      : ComEmpresa(opcoes.ged), MesGravado(company.CnFolder(), kMes) {
    if (opcoes.moeda) company.SetConfig("foreign-currency", 1);
    EXPECT_EQ(objeto.Inicializa(RegistroInicializacao()), S_OK);
    EXPECT_EQ(objeto.CriaArquivoMes(kMes), S_OK);
  }

  // Appends split lines owned by `dono` and gives the first position.
  int32_t Linhas(uint32_t dono, int quantidade) const {
    int32_t primeira = 0;
    for (int i = 0; i < quantidade; ++i) {
      REGLAN_GER linha{};
      linha.Valor.int64 = 10000 * (i + 1);
      linha.Indlan = dono;
      linha.ContaGerencial = 500 + i;
      const int32_t p = Acrescenta(kPrefixoGerencial, linha);
      if (i == 0) primeira = p;
    }
    return primeira;
  }

  std::shared_ptr<SuiteDatabase> Banco() const { return TestCompany::Database(); }
  std::vector<RegistroLog> Log() const { return TestCompany::ChangeLog(); }
  std::vector<NotificacaoGed> Ged() const { return TestCompany::GedNotices(); }

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
