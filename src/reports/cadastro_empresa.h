#pragma once
// What the rules of a save look at in the company's data: its charts of
// accounts, its standard histories, the user's active branches, the period
// and the options the accounting master keeps. Read through the suite's
// company access and charts, read only; each account and history is read
// once per object.

#include <cstdint>
#include <map>

#include "outside/conexao_plano.h"
#include "outside/dados_df.h"
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
  char TipoConta(int32_t conta) { return Tipo(plano_, tiposContabeis_, conta); }
  char TipoContaGerencial(int32_t conta) { return Tipo(gerencial_, tiposGerenciais_, conta); }
  bool TemHistorico(uint16_t codigo);
  bool FilialAtiva(uint16_t filial) const { return filiais_.EhFilialAtiva(filial) != 0; }

  // The first and last day of the accounting period; empty when not set.
  CQXData InicioExercicio() const { return inicio_; }
  CQXData FimExercicio() const { return fim_; }
  bool MoedaEstrangeira() const { return moedaEstrangeira_; }
  bool QuantidadeGerencial() const { return quantidadeGerencial_; }
  const Identidade& identidade() const { return identidade_; }

 private:
  char Tipo(CConexaoPlano& plano, std::map<int32_t, char>& lidos, int32_t conta);

  Identidade identidade_;
  CConexaoPlanoContabil plano_;
  CConexaoPlanoGerencial gerencial_;
  CConexaoHistorico historicos_;
  CQXDadosDF_FiliaisAtivas filiais_;
  CQXData inicio_, fim_;
  bool moedaEstrangeira_ = false;
  bool quantidadeGerencial_ = false;
  std::map<int32_t, char> tiposContabeis_, tiposGerenciais_;
  std::map<uint16_t, bool> historicosLidos_;
};

}  // namespace qx
