// Sums as the tools print them. A sum that overflowed prints as nothing in
// the tables (its cell), says so for people, and fails the run once the rows,
// which are right, are out.
#pragma once

#include <initializer_list>
#include <string>

#include "values/total.h"

namespace qx::cli {

// The amount as people read it, or that it overflowed.
std::string TotalParaPessoas(const Total& total);
// Throws FalhaLocal when any of them overflowed.
void VerificaTotais(std::initializer_list<const Total*> totais);
// The same, for a report that says whether any of its sums overflowed.
void VerificaEstouro(bool estourou);

}  // namespace qx::cli
