// A company folder with a few entries of every kind (complement, split,
// quantities, foreign-currency amount, origin key, a deleted one), a note and
// an import layout, kept as a copy with its database so that each run of a
// fault sweep starts from the same bytes; the service objects are the
// in-process ones.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../../tools/qxcheck/company_options.h"
#include "../../tools/qxcheck/log_empresa.h"
#include "../entries/test_company.h"
#include "contract/iqxcn_lancamento.h"
#include "platform/bstr.h"
#include "server/cqxcn_lancamento.h"
#include "storage/check/check_folder.h"
#include "storage/month_name.h"
#include "storage/records/difference_record.h"
#include "storage/records/entry_records.h"
#include "values/qx_data.h"
#include "values/qx_dmcps.h"
#include "values/qx_mes_ano.h"

namespace qx {

struct LiberaObjeto {
  void operator()(IQXCN_Lancamento* objeto) const { objeto->Release(); }
};
using Objeto = std::unique_ptr<IQXCN_Lancamento, LiberaObjeto>;

class SweepCompany {
 public:
  static constexpr CQXData kData = CQXData::Make(12, 6, 2024);
  static constexpr int32_t kChaveOrigem = qx::MakeChaveModulo(5, qx::kImportModule);  // entry 1's
  static uint16_t Mes() { return kData.MesAno().Value(); }

  SweepCompany() {
    company_.SetConfig("foreign-currency", 1);
    company_.SetConfig("managerial-quantities", 1);
    Objeto s = Novo();
    if (!s) return;
    // Entry 1 comes from an import (origin key, foreign-currency amount); 2 and 3 are typed in.
    RegDados dados = Dados(4, 1000000, 250);
    dados.Documento = 500;
    dados.wChaveOrigem.lChaveModulo = kChaveOrigem;
    dados.wChaveOrigem.iData = 7;
    dados.CodHis = 1;
    int32_t indlan = 0;
    EXPECT_EQ(s->GravaDados(&dados, &indlan), S_OK);
    for (int i = 2; i <= 4; ++i) {
      Preenche(s.get(), i == 3 ? 0 : 4, 10 * i, "complemento do lancamento");
      indlan = 0;
      EXPECT_EQ(s->Grava(&indlan), S_OK);
      EXPECT_EQ(indlan, i);
    }
    EXPECT_EQ(s->Exclui(4, Mes()), S_OK);
    UniqueBstr nota(BstrFromCp1252("nota do lancamento 2"));
    EXPECT_EQ(s->GravaNotaExplicativa(Mes(), (2 << 12) | Mes(), 0, nota.get()), S_OK);
    REGFORMATOIMPORT formato{};
    std::memcpy(formato.cNomeFormatoImportacao, "F1", 2);
    std::memcpy(formato.cSequenciaContabil, "CDE", 3);
    std::memcpy(formato.cSequenciaGerencial, "JK", 2);
    formato.cDelimitador = ';';
    uint16_t consistencia = 0;
    EXPECT_EQ(s->GravaFormatoImportacao(0, formato, &consistencia), S_OK);
    s.reset();
    for (const std::string& arquivo : Arquivos()) copia_[arquivo] = TestCompany::ReadAll(arquivo);
  }

  // A new object initialised for user 1; null (with a failure) when it cannot be.
  static Objeto Novo() {
    void* objeto = nullptr;
    EXPECT_EQ(QXCN_Lancamento_CreateInstance(nullptr, IID_IQXCN_Lancamento, &objeto), S_OK);
    Objeto s(static_cast<IQXCN_Lancamento*>(objeto));
    if (s && s->Inicializa_Padrao(RegistroInicializacao()) != S_OK) {
      ADD_FAILURE() << "initialisation failed";
      s.reset();
    }
    return s;
  }

  // An entry's data on the day, branch 1, credit account 11; one-sided when debito is 0.
  static RegDados Dados(int32_t debito, int64_t valor, int64_t moeda = 0) {
    RegDados dados{};
    dados.DataLancamento = kData.Value();
    dados.Debito = debito;
    dados.Credito = 11;
    dados.Valor = CURRENCY{valor};
    dados.ValorMoeda = CURRENCY{moeda};
    dados.Filial = 1;
    return dados;
  }

  // Fills the current entry: one-sided when debito is 0, with a complement and two split lines.
  static void Preenche(IQXCN_Lancamento* s, int32_t debito, int64_t valor, const char* texto) {
    s->SetFilial(1);
    s->SetData(kData.Value());
    s->SetDebito(debito);
    s->SetCredito(11);
    s->SetValor(CURRENCY{valor * 10000});
    s->SetDocumento(900 + static_cast<int32_t>(valor));
    s->SetHistorico(1);
    UniqueBstr complemento(BstrFromCp1252(texto));
    s->SetComplemento(complemento.get());
    RegLan_Ger linhas[2] = {};
    for (int i = 0; i < 2; ++i) {
      linhas[i].Valor = CURRENCY{valor * 5000};
      linhas[i].ContaGerencial = 2 + i;
      linhas[i].ContaContabil = 4;
    }
    s->SetLancamentoGerencial(2, linhas);
    RegQtd_Ger quantidades[2] = {{CURRENCY{30000}}, {CURRENCY{70000}}};
    s->SetQuantidadeGerencial(2, quantidades);
  }

  // The folder and the database as they were after construction.
  void Restaura() const {
    for (const std::string& arquivo : Arquivos()) {
      if (!copia_.contains(arquivo)) std::filesystem::remove(arquivo);
    }
    for (const auto& [caminho, bytes] : copia_) {
      std::ofstream(caminho, std::ios::binary | std::ios::trunc) << bytes;
    }
  }

  // "" when qxcheck, with the change log, finds no damage; else the damage
  // found, one line each.
  std::string Dano() const {
    check::DifferenceOptions opcoes;
    check::LogDaEmpresa log;
    std::string erro;
    if (!check::ReadCompanyOptions(TestCompany::kCodigo, &opcoes, &erro) ||
        !check::ReadCompanyLog(TestCompany::kCodigo, &log, &erro)) {
      return erro;
    }
    check::Report relatorio;
    if (!check::CheckFolder(company_.CnFolder(), opcoes, &relatorio, &erro, &log)) return erro;
    std::string dano;
    for (const check::Finding& achado : relatorio.findings.all()) {
      if (achado.kind->gravity != check::Gravity::kDamage) continue;
      dano += achado.kind->name;
      dano.append(1, ' ').append(achado.file).append(" @").append(std::to_string(achado.position));
      dano.append(": ").append(achado.reason).append(1, '\n');
    }
    return dano;
  }

  // The month's live entries (position and bytes) and the non-zero totals
  // (sorted), one per line: what a save that fails must leave as it was.
  std::string VivosETotais() const {
    std::vector<std::string> linhas;
    const std::string lancamentos =
        TestCompany::ReadAll(NomeArquivoMes(company_.CnFolder(), kPrefixoLancamentos, Mes()));
    for (size_t p = 1; (p + 1) * kEntryRecordSize <= lancamentos.size(); ++p) {
      EntryRecord registro;
      std::memcpy(&registro, lancamentos.data() + p * kEntryRecordSize, kEntryRecordSize);
      if (registro.cStatus == kEntryDeleted) continue;
      linhas.push_back("entry " + std::to_string(p) + ": " +
                       lancamentos.substr(p * kEntryRecordSize, kEntryRecordSize));
    }
    const std::string totais =
        TestCompany::ReadAll(company_.CnFolder() + "/" + kDifferenceFileName);
    std::vector<std::string> chaves;
    for (size_t p = 1; (p + 1) * kDifferenceRecordSize <= totais.size(); ++p) {
      DifferenceRecord registro;
      std::memcpy(&registro, totais.data() + p * kDifferenceRecordSize, kDifferenceRecordSize);
      if (registro.Valor.int64 == 0) continue;
      chaves.push_back("total " + std::to_string(registro.Valor.int64) + " " +
                       std::to_string(EffectiveDate(registro)) + " " +
                       std::to_string(registro.Filial) + " " + std::to_string(registro.Usuario));
    }
    std::sort(chaves.begin(), chaves.end());
    linhas.insert(linhas.end(), chaves.begin(), chaves.end());
    std::string texto;
    for (const std::string& linha : linhas) texto.append(linha).append(1, '\n');
    return texto;
  }

  const TestCompany& company() const { return company_; }

 private:
  // The files of the company's folder and of its database's.
  std::vector<std::string> Arquivos() const {
    std::vector<std::string> arquivos;
    for (const std::string& pasta : {company_.CnFolder(), company_.DfFolder()}) {
      for (const auto& entrada : std::filesystem::directory_iterator(pasta)) {
        if (entrada.is_regular_file()) arquivos.push_back(entrada.path().string());
      }
    }
    return arquivos;
  }

  TestCompany company_;
  std::map<std::string, std::string> copia_;
};

}  // namespace qx
