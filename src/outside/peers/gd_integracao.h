// Document management of a company: it is told when an entry that may have
// documents attached changes or goes away, by the entry's key. Every
// notification is stored in the company's suite database. An entry whose
// document is locked (archived) refuses both with E_QXDF_DOCUMENTO_BLOQUEADO
// and nothing is stored.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "outside/database/suite_database.h"
#include "platform/com_types.h"
#include "values/qx_data.h"

// The description of one entry's document. The text is Windows-1252.
class CGDDoc {
 public:
  void SetDescricao(std::string descricao) { m_descricao = std::move(descricao); }
  void SetFilial(uint16_t filial) { m_filial = filial; }
  void SetData(CQXData data) { m_data = data; }
  void SetDocumento(int32_t documento) { m_documento = documento; }

  const std::string& GetDescricao() const { return m_descricao; }
  uint16_t GetFilial() const { return m_filial; }
  CQXData GetData() const { return m_data; }
  int32_t GetDocumento() const { return m_documento; }

 private:
  std::string m_descricao;
  uint16_t m_filial = 0;
  CQXData m_data;
  int32_t m_documento = 0;
};

class CGDIntegracaoSrv {
 public:
  // The kind of the calling process; 0 is a server, which shows nothing.
  explicit CGDIntegracaoSrv(int tipoProcesso) : m_tipoProcesso(tipoProcesso) {}

  // Connects to the company; E_QXDF_SEM_GED when the company does not use
  // document management.
  HRESULT Inicializa(const char* empresa, unsigned short usuario, uint32_t sessao);
  // An existing entry is about to be rewritten: its new and its old document.
  HRESULT OnAlteracaoReg(int32_t lChaveComposta, const CGDDoc& novo, const CGDDoc& antigo);
  // An entry was deleted.
  HRESULT OnExclusaoReg(int32_t lChaveComposta);

  int GetTipoProcesso() const { return m_tipoProcesso; }

 private:
  HRESULT Notifica(char operacao, int32_t chave, const CGDDoc* novo, const CGDDoc* antigo);

  int m_tipoProcesso;
  std::shared_ptr<qx::SuiteDatabase> m_db;
  unsigned short m_usuario = 0;
  uint32_t m_sessao = 0;
};
