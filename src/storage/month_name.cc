#include "storage/month_name.h"

#include "platform/path.h"
#include "values/qx_mes_ano.h"

namespace qx {

std::string ParteMesArquivo(uint16_t mesAno) { return CQXMesAno(mesAno).Text(7); }

std::optional<CQXMesAno> MesDaParteArquivo(std::string_view parte) {
  if (parte.size() != 4) return std::nullopt;
  for (const char c : parte) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  const int mes = (parte[0] - '0') * 10 + (parte[1] - '0');
  const int ano = (parte[2] - '0') * 10 + (parte[3] - '0');
  const CQXMesAno mesAno = CQXMesAno::Make(mes, ano);
  if (ParteMesArquivo(mesAno.Value()) != parte) return std::nullopt;
  return mesAno;
}

std::string NomeArquivoMes(const std::string& pasta, const char* prefixo, uint16_t mesAno) {
  return JoinPath(pasta, std::string(prefixo) + ParteMesArquivo(mesAno) + ".DAT");
}

}  // namespace qx
