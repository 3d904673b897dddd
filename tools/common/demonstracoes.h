// The balance sheet and the income statement as the tools for people show
// them: their options, and their tables with the JSON keys and CSV headings
// that qxcn and qxweb share. Each table holds the accounts of the statement
// in its order, with a "grupo" (the account's nature, or the name of a line
// the statement works out, whose "conta" is empty), and then its totals.
#pragma once

#include <string>
#include <vector>

#include "common/argumentos.h"
#include "common/programa.h"
#include "common/tabela.h"
#include "reports/demonstracoes.h"

namespace qx::cli {

// --em, --comparar, --desde, --filial, --nivel.
std::vector<Opcao> OpcoesBalanco();
// Each date's balances start at --desde, or where the company's books start
// for it.
PedidoBalanco LePedidoBalanco(const Argumentos& argumentos, const Identidade& identidade);

// --de, --ate, --filial, --nivel, --por-mes.
std::vector<Opcao> OpcoesDre();
PedidoDre LePedidoDre(const Argumentos& argumentos);

// "Balanço em 31/12/2026, comparado a 31/12/2025", and the branch.
std::string TituloBalanco(const Balanco& balanco, uint16_t filial);
// The accounts and lines: grupo, conta, classificacao, nome, nivel, total,
// then "saldo" (and "saldo_comparado"); for people the names are indented by
// their level.
Tabela TabelaBalanco(const Balanco& balanco, bool paraPessoas);
// One row per date: whether the sides agree, and what keeps them apart.
Tabela TabelaTotaisBalanco(const Balanco& balanco);
std::string TextoTotaisBalanco(const Balanco& balanco);

// The lines in the statement's order: grupo, conta, classificacao, nome,
// nivel, total, a column per month asked for ("2026-03"), "valor".
Tabela TabelaDre(const Dre& dre, bool paraPessoas);
// The period's figures of each line the statement works out.
Tabela TabelaTotaisDre(const Dre& dre);
std::string TextoTotaisDre(const Dre& dre);

}  // namespace qx::cli
