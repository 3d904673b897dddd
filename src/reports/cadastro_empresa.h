#pragma once
// What the rules of a save look at in the company's data: its charts of
// accounts and the natures of their accounts, its standard histories, the
// user's active branches, the period and the options the accounting master
// keeps. Read through the suite's
// company access and charts, read only; each account and history is read
// once per object.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "outside/database/conexao_plano.h"
#include "outside/database/dados_df.h"
#include "outside/database/naturezas.h"
#include "reports/sessao.h"
#include "values/qx_data.h"

namespace qx {

class CadastroEmpresa {
 public:
  // Reads the configuration for the identity (the company always named); a
  // failing read throws FalhaServico.
  explicit CadastroEmpresa(const Identidade& identidade);
  CadastroEmpresa(const CadastroEmpresa&) = delete;
  CadastroEmpresa& operator=(const CadastroEmpresa&) = delete;

  // The account's type (kContaAnalitica, kContaSintetica), or 0 when the
  // chart lacks it.
  char TipoConta(int32_t conta) { return Le(plano_, contabeis_, conta).tipo; }
  char TipoContaGerencial(int32_t conta) { return Le(gerencial_, gerenciais_, conta).tipo; }
  // The nature of an account of the accounting chart (kNenhuma when the
  // chart lacks it).
  Natureza NaturezaConta(int32_t conta);
  bool TemHistorico(uint16_t codigo);
  bool FilialAtiva(uint16_t filial) const { return filiais_.EhFilialAtiva(filial) != 0; }

  // The first and last day of the accounting period; empty when not set.
  CQXData InicioExercicio() const { return inicio_; }
  CQXData FimExercicio() const { return fim_; }
  bool MoedaEstrangeira() const { return moedaEstrangeira_; }
  bool QuantidadeGerencial() const { return quantidadeGerencial_; }
  const Identidade& identidade() const { return identidade_; }

 private:
  struct ContaLida {
    char tipo = '\0';
    std::string classificacao;
  };
  const ContaLida& Le(CConexaoPlano& plano, std::map<int32_t, ContaLida>& lidas, int32_t conta);

  Identidade identidade_;
  CConexaoPlanoContabil plano_;
  CConexaoPlanoGerencial gerencial_;
  CConexaoHistorico historicos_;
  CQXDadosDF_FiliaisAtivas filiais_;
  CQXData inicio_, fim_;
  bool moedaEstrangeira_ = false;
  bool quantidadeGerencial_ = false;
  std::vector<RegraNatureza> naturezas_;
  std::map<int32_t, ContaLida> contabeis_, gerenciais_;
  std::map<uint16_t, bool> historicosLidos_;
};

}  // namespace qx
