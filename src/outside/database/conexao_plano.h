// Connections to a company's charts of accounts (accounting and managerial)
// and to its standard histories. Each is initialised once for a caller's
// identity and then reads one record at a time.
#pragma once

#include <cstdint>
#include <vector>

#include "outside/database/conexao_empresa.h"
#include "outside/database/reg_conta.h"
#include "outside/database/reg_historico.h"

class CConexaoPlano : public qx::ConexaoEmpresa {
 public:
  // The two modes select how the chart is read; the only ones offered are
  // '0', '0' (each account read from the database when asked for, read
  // only); others give E_INVALIDARG.
  HRESULT Inicializa(const char* empresa, unsigned short usuario, uint32_t sessao,
                     char cModoLeitura, char cModoAcesso);
  // Zeroes the record and reads the account into it.
  HRESULT Le(int32_t conta, _RegContaPS* registro);
  // Every account of the chart, in the order of their classification texts.
  HRESULT Lista(std::vector<_RegContaPS>* contas);

 protected:
  explicit CConexaoPlano(char plano) : m_plano(plano) {}

 private:
  char m_plano;  // 'C' accounting, 'G' managerial
};

class CConexaoPlanoContabil : public CConexaoPlano {
 public:
  CConexaoPlanoContabil() : CConexaoPlano('C') {}
};

class CConexaoPlanoGerencial : public CConexaoPlano {
 public:
  CConexaoPlanoGerencial() : CConexaoPlano('G') {}
};

class CConexaoHistorico : public qx::ConexaoEmpresa {
 public:
  HRESULT Inicializa(const char* empresa, unsigned short usuario, uint32_t sessao);
  // Zeroes the record and reads the standard history into it.
  HRESULT Le(unsigned short codigo, _RegHistoricoPS* registro);
};
