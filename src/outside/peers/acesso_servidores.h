// The access objects of a company: they read the company's data and hand out
// the peer services, all over the company's suite database. An object that is
// not connected (before its owner's initialisation, or for an owner that uses
// the default connection) fails every call with E_QXDF_NAO_INICIALIZADO.
// Failures are also kept in the owner's last error.
#pragma once

#include <cstdint>
#include <memory>

#include "outside/database/dados_df.h"
#include "outside/database/suite_database.h"
#include "outside/peers/peer_services.h"

class CQXUltimoErro;

namespace qx {

// The connection that the access objects share with their owner.
class AcessoBanco {
 public:
  // db may be null (not connected); erros may be null (failures are not kept).
  void Conecta(std::shared_ptr<SuiteDatabase> db, CQXUltimoErro* erros);

 protected:
  // The connection, or E_QXDF_NAO_INICIALIZADO.
  HRESULT Banco(std::shared_ptr<SuiteDatabase>* db);
  // Keeps a failure with the database's message in the owner's last error.
  HRESULT Reporta(HRESULT hr);

 private:
  std::shared_ptr<SuiteDatabase> db_;
  CQXUltimoErro* erros_ = nullptr;
};

}  // namespace qx

// The company's servers: its change log and its standard histories.
class CQXServidoresEmpresarial : public qx::AcessoBanco {
 public:
  // usuario: the owner's user, whom the change log names in its records (an
  // owner that only reads may leave it).
  void Conecta(std::shared_ptr<qx::SuiteDatabase> db, CQXUltimoErro* erros, uint16_t usuario = 0) {
    AcessoBanco::Conecta(std::move(db), erros);
    usuario_ = usuario;
  }
  HRESULT GetIDFLog(CQXComPtr<IQXDF_Log>& servico);
  HRESULT GetIDFHistorico(CQXComPtr<IQXCN_Historico>& servico);

 private:
  uint16_t usuario_ = 0;
};

// The company's data. The last argument of each read must be 0.
class CQXAcessoEmpresarial : public CQXServidoresEmpresarial {
 public:
  // The user's active branches. A user that the company does not know gives
  // E_QXDF_REGISTRO_NAO_ENCONTRADO and an empty set.
  HRESULT LeFiliaisAtivas(unsigned short usuario, CQXDadosDF_FiliaisAtivas* dados,
                          int32_t lReservado);
  HRESULT LePropriedades(CQXDadosDF_Propriedades* dados, int32_t lReservado);
  HRESULT LeBufferTiposSistemas(CQXDadosDF_TiposSistemas* dados, int32_t lReservado);
};

// The accounting servers of the company.
class CQXServidoresContabil : public qx::AcessoBanco {
 public:
  HRESULT GetICNMestre(CQXComPtr<IQXCN_Mestre>& servico);
};

// The suite's core servers; they need no company connection.
class CQXServidoresCore {
 public:
  HRESULT GetICRAnalytics(CQXComPtr<IQXCR_Analytics>& servico);
};

// The three accesses of one owner.
class CQXAcessoServidores {
 public:
  void Conecta(std::shared_ptr<qx::SuiteDatabase> db, CQXUltimoErro* erros, uint16_t usuario = 0) {
    m_empresarial.Conecta(db, erros, usuario);
    m_contabil.Conecta(std::move(db), erros);
  }
  CQXAcessoEmpresarial* GetAcessoEmpresarial() { return &m_empresarial; }
  CQXServidoresContabil* GetAcessoContabil() { return &m_contabil; }
  CQXServidoresCore* GetAcessoCore() { return &m_core; }

 private:
  CQXAcessoEmpresarial m_empresarial;
  CQXServidoresContabil m_contabil;
  CQXServidoresCore m_core;
};
