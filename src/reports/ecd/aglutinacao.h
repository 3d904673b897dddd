#pragma once
// The line of the statements (aggregation code, I052) each account adds to:
// the nearest of itself and the accounts above it that the admin gave a line,
// else its own code.

#include <string>
#include <unordered_map>

#include "reports/ecd/livro.h"

namespace qx::ecd {

// Whether the account goes to the statements: analytic, of the balance sheet
// or of the result.
bool NasDemonstracoes(const Conta& conta);

// By account code, for the accounts that go to the statements.
std::unordered_map<std::string, std::string> CodigosDeAglutinacao(const Livro& livro);

}  // namespace qx::ecd
