#include <cinttypes>
#include <cstdarg>
#include <cstdio>

#include "diagnostics/profiler_record.h"
#include "values/text_format.h"

namespace qx {
namespace {

void Append(std::string* line, const char* format, ...) __attribute__((format(printf, 2, 3)));

void Append(std::string* line, const char* format, ...) {
  va_list args;
  va_start(args, format);
  *line += FormatTextV(format, args);
  va_end(args);
}

const char* TypeWord(ProfilerRecordType type) {
  switch (type) {
    case ProfilerRecordType::kEntrou:
      return "ENTROU";
    case ProfilerRecordType::kSaiu:
      return "SAIU";
    case ProfilerRecordType::kCoCreate:
      return "COCREATE";
    case ProfilerRecordType::kErro:
      break;
  }
  return "ERRO";
}

// The identity's initialisation record, or an all-zero one when it has none
// or the record was never accepted (its control byte is not 'B').
_REG_DF_INICIALIZAPS IdentityRecord(IQXDF_Profiler* identity) {
  _REG_DF_INICIALIZAPS record{};
  if (identity == nullptr) return record;
  const _REG_DF_INICIALIZAPS* given = identity->GetRegistroInicializacao();
  if (given != nullptr && given->cControle == 'B') record = *given;
  return record;
}

void AppendCommonColumns(std::string* line, const ProfilerRecord& r, ProfilerRecordType type,
                         const PhysicalMemory& machine, uint32_t threadId) {
  const SYSTEMTIME& t = r.dataHora;
  Append(line, "%02d/%02d/%04d\t%02d:%02d:%02d.%03d\t", t.wDay, t.wMonth, t.wYear, t.wHour,
         t.wMinute, t.wSecond, t.wMilliseconds);
  Append(line, "%s\t%s\t%s\t%s\t", r.processo.c_str(), r.usuarioLocal.c_str(), r.funcao.c_str(),
         r.guid.c_str());
  const char* empresa = r.identidade != nullptr ? r.identidade->GetEmpresa() : "";
  Append(line, "E%s\t", empresa != nullptr ? empresa : "");
  Append(line, "U%03d\t", r.identidade != nullptr ? r.identidade->GetUsuario() : 0);
  Append(line, "S%08d\t",
         r.identidade != nullptr ? static_cast<int32_t>(r.identidade->GetNumeroSessao()) : 0);
  Append(line, "T%08d\t", static_cast<int32_t>(threadId));
  _REG_DF_INICIALIZAPS init = IdentityRecord(r.identidade);
  Append(line, "%s\t%u\t%u\t%s\t%s\t%s\t%s\t%u\t%d\t%d\t%s\t", FieldText(init.szEmpresa).c_str(),
         init.ulUsuario, init.ulNumeroSessao, FieldText(init.szNomeUsuarioDominio).c_str(),
         FieldText(init.szAplicativo).c_str(), FieldText(init.szModuleName).c_str(),
         FieldText(init.szArquivoFonte).c_str(), init.ulLinhaFonte, init.cWTS,
         static_cast<int32_t>(init.ulFiller), FieldText(init.szFiller).c_str());
  Append(line, "%s\t%" PRId64 "\t%" PRId64 "\t", TypeWord(type), machine.available, machine.total);
}

void AppendTypeColumns(std::string* line, const ProfilerRecord& r, ProfilerRecordType type) {
  switch (type) {
    case ProfilerRecordType::kEntrou:
      Append(line, "%" PRId64 "\t0\t0\t", r.memoriaEntrada);
      break;
    case ProfilerRecordType::kSaiu: {
      int64_t duration =
          r.ticksFim > r.ticksInicio ? static_cast<int64_t>(r.ticksFim - r.ticksInicio) : 0;
      int64_t growth = r.memoriaSaida > r.memoriaEntrada ? r.memoriaSaida - r.memoriaEntrada : 0;
      Append(line, "%" PRId64 "\t%" PRId64 "\t%" PRId64 "\t", r.memoriaSaida, duration, growth);
      break;
    }
    case ProfilerRecordType::kCoCreate:
      break;
    case ProfilerRecordType::kErro:
      Append(line, "%" PRId64 "\t", r.memoriaEntrada);
      for (size_t i = 0; i < 5; ++i) Append(line, "%s\t", r.valores[i].c_str());
      break;
  }
}

void AppendPairs(std::string* line, const ProfilerRecord& r) {
  for (size_t i = 0; i < kProfilerPairs; ++i) {
    if (!r.nomes[i].empty() && !r.valores[i].empty())
      Append(line, "%s = %s\t", r.nomes[i].c_str(), r.valores[i].c_str());
  }
}

}  // namespace

std::string FormatProfilerLine(const ProfilerRecord& record, ProfilerRecordType type,
                               const PhysicalMemory& machine, uint32_t threadId) {
  std::string line;
  AppendCommonColumns(&line, record, type, machine, threadId);
  AppendTypeColumns(&line, record, type);
  if (type != ProfilerRecordType::kErro) AppendPairs(&line, record);
  std::erase_if(line, [](char c) { return c == '\r' || c == '\n'; });
  line += '\n';
  return line;
}

}  // namespace qx
