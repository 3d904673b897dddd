// The entries of each month against the change log's last image of each
// position: what the files hold must be what the log last said of them.
#include <algorithm>
#include <set>
#include <string>

#include "storage/check/check_folder.h"
#include "storage/month_name.h"

namespace qx::check {
namespace {

// The fields of an entry record that the log's image keeps.
struct CampoLog {
  const char* nome;
  int64_t (*valor)(const EntryRecord&);
};
constexpr CampoLog kCampos[] = {
    {"documento", [](const EntryRecord& r) -> int64_t { return r.Documento; }},
    {"complemento", [](const EntryRecord& r) -> int64_t { return r.Complemento; }},
    {"debito", [](const EntryRecord& r) -> int64_t { return r.Debito; }},
    {"credito", [](const EntryRecord& r) -> int64_t { return r.Credito; }},
    {"sessao", [](const EntryRecord& r) -> int64_t { return r.Secao & 0xFFFF; }},
    {"valor", [](const EntryRecord& r) -> int64_t { return r.Valor.int64; }},
    {"origem", [](const EntryRecord& r) -> int64_t { return r.lChaveModulo; }},
    {"origem_data", [](const EntryRecord& r) -> int64_t { return r.iData; }},
    {"historico", [](const EntryRecord& r) -> int64_t { return r.CodHis; }},
    {"filial", [](const EntryRecord& r) -> int64_t { return r.Filial; }},
    {"dia", [](const EntryRecord& r) -> int64_t { return r.cDia; }},
    {"situacao", [](const EntryRecord& r) -> int64_t { return r.cStatus; }},
};

// "valor (log 100, arquivo 101), situacao (log 0, arquivo 1)"; empty when
// they agree.
std::string Diferencas(const EntryRecord& log, const EntryRecord& arquivo) {
  std::string texto;
  for (const CampoLog& campo : kCampos) {
    const int64_t antes = campo.valor(log), agora = campo.valor(arquivo);
    if (antes == agora) continue;
    if (!texto.empty()) texto += ", ";
    texto += std::string(campo.nome) + " (log " + std::to_string(antes) + ", arquivo " +
             std::to_string(agora) + ")";
  }
  return texto;
}

// Notes runs of consecutive positions of one kind.
class Trechos {
 public:
  Trechos(Findings* findings, const char* kind, std::string file, std::string reason)
      : findings_(findings), kind_(kind), file_(std::move(file)), reason_(std::move(reason)) {}
  ~Trechos() { Fecha(); }
  void Anota(uint64_t p) {
    if (primeira_ != 0 && p == ultima_ + 1) {
      ultima_ = p;
      return;
    }
    Fecha();
    primeira_ = ultima_ = p;
  }

 private:
  void Fecha() {
    if (primeira_ != 0) findings_->Run(kind_, file_, Unit::kRecord, primeira_, ultima_, reason_);
    primeira_ = 0;
  }

  Findings* findings_;
  const char* kind_;
  std::string file_, reason_;
  uint64_t primeira_ = 0, ultima_ = 0;
};

// One month's entries against the log's images of them.
void CheckMonthAgainstLog(uint16_t mesAno, const MonthFiles* month, const ImagensDoMes& imagens,
                          Findings* findings) {
  const LoadedFile* entries = month != nullptr && month->entries ? &*month->entries : nullptr;
  const std::string file = entries != nullptr
                               ? entries->name
                               : kPrefixoLancamentos + ParteMesArquivo(mesAno) + ".DAT";
  const uint64_t records = entries != nullptr ? entries->Records(kEntryRecordSize) : 0;
  Trechos sem(findings, "log-missing", file, "lançamento ativo sem evento no log");
  Trechos desconhecidos(findings, "log-unknown", file, "lançamento excluído que o log não conhece");
  for (uint64_t p = 1; p <= records; ++p) {
    const auto registro = entries->At<EntryRecord>(p);
    const auto imagem = imagens.find(static_cast<uint32_t>(p));
    const bool excluido = registro.cStatus == kEntryDeleted;
    if (imagem == imagens.end()) {
      (excluido ? desconhecidos : sem).Anota(p);
      continue;
    }
    const ImagemLog& log = imagem->second;
    const std::string evento = " (evento " + std::to_string(log.evento) + ")";
    if (excluido && log.registro.cStatus != kEntryDeleted) {
      findings->At("log-deleted", file, Unit::kRecord, p,
                   "excluído sem o evento da exclusão; o log o tem ativo" + evento);
    } else if (const std::string campos = Diferencas(log.registro, registro); !campos.empty()) {
      findings->At("log-altered", file, Unit::kRecord, p,
                   "difere da última imagem do log" + evento + ": " + campos);
    }
  }
  Trechos perdidos(findings, "log-lost", file,
                   "o log conhece o lançamento e o arquivo acaba antes dele");
  for (auto it = imagens.upper_bound(static_cast<uint32_t>(records)); it != imagens.end(); ++it) {
    perdidos.Anota(it->first);
  }
}

}  // namespace

bool CheckAgainstLog(const FolderFiles& files, const LogDaEmpresa& log, Findings* findings,
                     std::string* error) {
  std::set<uint16_t> meses = log.meses;
  for (const auto& [mesAno, month] : files.months) {
    if (month.entries) meses.insert(mesAno);
  }
  for (const uint16_t mesAno : meses) {
    ImagensDoMes imagens;
    if (!log.imagens(mesAno, &imagens, error)) return false;
    const auto month = files.months.find(mesAno);
    CheckMonthAgainstLog(mesAno, month != files.months.end() ? &month->second : nullptr, imagens,
                         findings);
  }
  return true;
}

}  // namespace qx::check
