// Result codes of the company-access layer and the peer services. They carry
// the facility of the suite's company data library (238), so the error log
// line names them "QX_FACILITY_DF_DADOS".
#pragma once

#include <cstdint>

#include "platform/com_types.h"

inline constexpr int QX_FACILITY_DF_DADOS = 238;

namespace qx {

constexpr HRESULT DadosDfHresult(uint16_t code) {
  return static_cast<HRESULT>(0x80000000u | (static_cast<uint32_t>(QX_FACILITY_DF_DADOS) << 16) |
                              code);
}

}  // namespace qx

// The company has no "DF" folder in the registry.
inline constexpr HRESULT E_QXDF_EMPRESA_SEM_PASTA = qx::DadosDfHresult(1);
// The company database cannot be opened (missing file, no permission).
inline constexpr HRESULT E_QXDF_BANCO_INDISPONIVEL = qx::DadosDfHresult(2);
// The file is not a database of the suite, or it is damaged.
inline constexpr HRESULT E_QXDF_BANCO_INVALIDO = qx::DadosDfHresult(3);
// The database was written by a newer program (schema version above ours).
inline constexpr HRESULT E_QXDF_BANCO_VERSAO_NOVA = qx::DadosDfHresult(4);
// Another process kept the database locked beyond the waiting budget.
inline constexpr HRESULT E_QXDF_BANCO_OCUPADO = qx::DadosDfHresult(5);
// Any other failure of the database.
inline constexpr HRESULT E_QXDF_BANCO_FALHA = qx::DadosDfHresult(6);
// A service or connection used before its initialisation, or without a
// company connection (an access set to the default connection).
inline constexpr HRESULT E_QXDF_NAO_INICIALIZADO = qx::DadosDfHresult(7);
// The record asked for (user, account, history) is not in the company data.
inline constexpr HRESULT E_QXDF_REGISTRO_NAO_ENCONTRADO = qx::DadosDfHresult(8);
// BuscaPonteiros without a BuscaQuantidade before it.
inline constexpr HRESULT E_QXDF_SEM_BUSCA = qx::DadosDfHresult(9);
// Document management keeps the entry's document locked against changes.
inline constexpr HRESULT E_QXDF_DOCUMENTO_BLOQUEADO = qx::DadosDfHresult(10);
// Document management initialised for a company that does not use it.
inline constexpr HRESULT E_QXDF_SEM_GED = qx::DadosDfHresult(11);
// A record with that key exists already (administration).
inline constexpr HRESULT E_QXDF_JA_EXISTE = qx::DadosDfHresult(12);
// The company keeps its SQLite database on a network file system, which
// machines cannot share it on: it must move to PostgreSQL.
inline constexpr HRESULT E_QXDF_BANCO_EM_REDE = qx::DadosDfHresult(13);
// The company is being moved to another database, or (for the move) some
// program still has it open.
inline constexpr HRESULT E_QXDF_EMPRESA_EM_USO = qx::DadosDfHresult(14);

// The server number that the company data layer writes into its errors.
inline constexpr uint16_t kNumeroServidorDadosDF = 10;
