// The reports as the tools for people show them: the tables of the trial
// balance, the statements and the ledger, the cost centres and the accounts
// they name, with the JSON keys and CSV headings that qxcn and qxweb share.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/celula.h"
#include "common/tabela.h"
#include "reports/balancete.h"
#include "reports/centros.h"
#include "reports/extrato.h"

namespace qx::cli {

// An account as the reports show it: "conta", "classificacao", "nome".
std::vector<std::string> ColunasConta();
std::vector<Celula> CelulasConta(const Conta& conta);
// "5 1.1.01.002 Bancos conta movimento", as people read it.
std::string NomeConta(const Conta& conta);
// "de 01/03/2026 a 31/03/2026", and the branch when there is one.
std::string TextoPeriodo(CQXData de, CQXData ate, uint16_t filial);

// The period of a report: "desde", "de", "ate", "filial".
Tabela TabelaPeriodo(const Periodo& periodo);

// One row per account of the chart; for people the names are indented by
// their level.
Tabela TabelaBalancete(const Balancete& balancete, bool paraPessoas);
// "debitos", "creditos", "diferenca" of the whole period.
Tabela TabelaTotaisBalancete(const Balancete& balancete);
// Whether debits equal credits, and what the difference is when they do not.
std::string TextoEquilibrio(const Balancete& balancete, const Periodo& periodo);

// The lines of statements, one after the other.
Tabela TabelaLinhasExtrato(std::span<const Extrato> extratos);
// The account of a statement, whether it is a total, and its period.
Tabela TabelaContaExtrato(const Extrato& extrato, const Periodo& periodo);
// "saldo_anterior", "debitos", "creditos", "saldo_final".
std::vector<std::string> ColunasSaldos();
std::vector<Celula> CelulasSaldos(const Extrato& extrato);
// Per statement of a ledger, its account and balances.
Tabela TabelaContasRazao(std::span<const Extrato> razao);

// What the split lines allot, per centre and account; for people each
// centre's total follows its lines.
Tabela TabelaCentros(const Centros& centros, bool paraPessoas);
// Each centre's totals: "centro", "nome", "valor", "quantidade".
Tabela TabelaTotaisCentros(const Centros& centros);
// The grand total: "valor", "quantidade".
Tabela TabelaTotalCentros(const Centros& centros);

}  // namespace qx::cli
