// The accounting account a redistribution is limited to. A total account
// (type 'T') takes every account whose classification begins with its own;
// any other account takes only itself; account 0 takes every account.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "outside/database/conexao_plano.h"

namespace qx {

class FiltroContaContabil {
 public:
  // Reads the filter account from the chart; a failed read leaves an account
  // without type, which is compared by number.
  FiltroContaContabil(CConexaoPlano& plano, int32_t conta);

  bool Aceita(int32_t conta);

 private:
  CConexaoPlano& m_plano;
  int32_t m_conta;
  bool m_porClassificacao = false;
  std::string m_classificacao;
  // Answers already found, by account: each account is read from the chart once.
  std::map<int32_t, bool> m_respostas;
};

}  // namespace qx
