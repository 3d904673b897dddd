// The texts that a Windows system in the suite's language gives for the codes
// of the COM runtime, of peer creation and of files, and the fall-backs for
// every other code.
#include "diagnostics/system_messages.h"

#include <cstdint>
#include <iterator>

#include "contract/code_names.h"
#include "contract/winerror_table.h"
#include "diagnostics/code_description.h"

namespace qx {
namespace {

// Sorted by code, in Windows-1252.
constexpr WinErrorName kTextosSistema[] = {
    {0x00000000u,
     "A opera\xE7\xE3o foi conclu\xED"
     "da com \xEAxito."},
    {0x80004001u, "N\xE3o implementado"},
    {0x80004002u, "Interface sem suporte"},
    {0x80004003u, "Ponteiro inv\xE1lido"},
    {0x80004004u, "Opera\xE7\xE3o anulada"},
    {0x80004005u, "Erro n\xE3o especificado"},
    {0x8000FFFFu,
     "Falha catastr\xF3"
     "fica"},
    {0x80010114u, "O objeto solicitado n\xE3o existe."},
    {0x80040110u,
     "A classe n\xE3o d\xE1 suporte a agrega\xE7\xE3o (ou o objeto de classe \xE9 remoto)"},
    {0x80040154u, "Classe n\xE3o registrada"},
    {0x800401F3u, "Cadeia de caracteres de classe inv\xE1lida"},
    {0x800401FBu, "O objeto j\xE1 est\xE1 registrado"},
    {0x800401FCu, "O objeto n\xE3o est\xE1 registrado"},
    {0x80070002u, "O sistema n\xE3o pode encontrar o arquivo especificado."},
    {0x80070003u, "O sistema n\xE3o pode encontrar o caminho especificado."},
    {0x80070005u, "Acesso negado."},
    {0x8007000Eu, "Mem\xF3ria insuficiente para concluir esta opera\xE7\xE3o."},
    {0x80070020u, "O arquivo j\xE1 est\xE1 sendo usado por outro processo."},
    {0x80070057u, "O par\xE2metro est\xE1 incorreto."},
    {0x80070070u, "N\xE3o h\xE1 espa\xE7o suficiente no disco."},
    {0x800706BAu, "O servidor RPC n\xE3o est\xE1 dispon\xEDvel."},
    {0x800706C6u, "Os limites da matriz s\xE3o inv\xE1lidos."},
    {0x800706D1u, "O n\xFAmero do procedimento est\xE1 fora do intervalo."},
    {0x800706F4u, "Um ponteiro de refer\xEAncia nulo foi passado para o stub."},
    {0x800706F7u, "O stub recebeu dados incorretos."},
    {0x80080005u, "Falha na execu\xE7\xE3o do servidor"},
};

}  // namespace

std::string TextoMensagemSistema(HRESULT hr) {
  const char* texto =
      FindWinErrorName(kTextosSistema, std::size(kTextosSistema), static_cast<uint32_t>(hr));
  if (texto != nullptr) return texto;
  std::string descricao = QXDescricaoHresult(hr);
  return descricao.empty() ? SymbolicName(hr) : descricao;
}

}  // namespace qx
