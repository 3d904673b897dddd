#include "storage/month_name.h"

#include "platform/path.h"
#include "values/qx_mes_ano.h"

namespace qx {

std::string ParteMesArquivo(uint16_t mesAno) { return CQXMesAno(mesAno).Text(7); }

std::string NomeArquivoMes(const std::string& pasta, const char* prefixo, uint16_t mesAno) {
  return JoinPath(pasta, std::string(prefixo) + ParteMesArquivo(mesAno) + ".DAT");
}

}  // namespace qx
