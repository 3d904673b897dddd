#include "diagnostics/code_texts.h"

#include <cstdint>

#include "contract/code_names.h"
#include "contract/hresult.h"
#include "diagnostics/system_messages.h"
#include "platform/codepage.h"

namespace qx {
namespace {

constexpr int kFacilityWin32 = 7;

struct Row {
  uint32_t code;
  const char* name;
  const char* description;
};

// Record-file statuses, by the low word of a failure of facility 4.
constexpr Row kStatuses[] = {
    {16012, "ARQ_POSICIONAMENTO_INVALIDO", "posicionamento inválido no arquivo"},
    {16021, "ARQ_FIM_DE_ARQUIVO", "fim de arquivo: não há registro nessa posição"},
    {16039, "ARQ_ERRO_DE_LEITURA_GRAVACAO", "erro de leitura ou gravação no disco"},
    {16055, "ARQ_NAO_ENCONTRADO", "arquivo não encontrado: ele existia e sumiu"},
    {16063, "ARQ_CAMINHO_INVALIDO", "caminho inválido: a pasta não existe"},
    {16071, "ARQ_MUITOS_ABERTOS", "arquivos abertos demais"},
    {16080, "ARQ_ACESSO_NEGADO", "acesso negado ao arquivo"},
    {16081, "ARQ_SOMENTE_LEITURA", "o arquivo é somente leitura"},
    {16098, "ARQ_INVALIDO", "arquivo inválido"},
    {16101, "ARQ_DIRETORIO_CHEIO", "a pasta não aceita mais arquivos"},
    {16110, "ARQ_EM_USO", "arquivo em uso por outro processo"},
    {16128, "ARQ_BLOQUEADO", "trecho do arquivo bloqueado por outro processo"},
    {16136, "ARQ_DISCO_CHEIO", "disco cheio"},
    {16144, "ARQ_ERRO_GERAL", "falha de arquivo, ou tentativas esgotadas"},
    {16179, "ARQ_PARAMETRO_INVALIDO", "parâmetro inválido para o arquivo"},
    {17396, "ARQ_MARCA_INDISPONIVEL", "a marca da pasta continua com outro processo"},
};

// Whole codes of this system, and runtime codes the system's texts leave out.
constexpr Row kCodes[] = {
    {0x800405F7u, "", "o lançamento está excluído"},
    {0x800405FAu, "E_QXCN_PERIODO_BUSCA_LONGO",
     "o período da busca sai dos meses que as suas chaves alcançam (de 1984 a 2083, até 127 "
     "meses depois do primeiro)"},
    {0x800405FBu, "E_QXCN_OPERACAO_INTERROMPIDA",
     "a operação parou no meio e não pôde ser desfeita agora; a próxima gravação, exclusão ou "
     "abertura da empresa a desfaz"},
    {0x800405FCu, "E_QXCN_PERIODO_FECHADO", "o lançamento é de um período fechado"},
    {0x80040A73u, "E_QXARQ_POSICAO_ALEM_DO_FIM", "posição de gravação além do fim do arquivo"},
    {0x80040A74u, "E_QXARQ_POSICAO_NEGATIVA", "posição de gravação negativa"},
    {0x80EE0001u, "E_QXDF_EMPRESA_SEM_PASTA", "a empresa não está cadastrada nesta instalação"},
    {0x80EE0002u, "E_QXDF_BANCO_INDISPONIVEL",
     "o banco de dados da empresa não abre (arquivo ausente ou sem permissão)"},
    {0x80EE0003u, "E_QXDF_BANCO_INVALIDO",
     "o arquivo não é um banco de dados da suíte, ou está danificado"},
    {0x80EE0004u, "E_QXDF_BANCO_VERSAO_NOVA",
     "o banco de dados foi gravado por um programa mais novo"},
    {0x80EE0005u, "E_QXDF_BANCO_OCUPADO", "o banco de dados ficou bloqueado por outro processo"},
    {0x80EE0006u, "E_QXDF_BANCO_FALHA", "falha do banco de dados da empresa"},
    {0x80EE0007u, "E_QXDF_NAO_INICIALIZADO", "serviço da suíte usado antes da inicialização"},
    {0x80EE0008u, "E_QXDF_REGISTRO_NAO_ENCONTRADO", "registro não encontrado nos dados da empresa"},
    {0x80EE0009u, "E_QXDF_SEM_BUSCA", "leitura de resultados sem uma busca antes"},
    {0x80EE000Au, "E_QXDF_DOCUMENTO_BLOQUEADO",
     "o documento do lançamento está bloqueado na gestão de documentos"},
    {0x80EE000Bu, "E_QXDF_SEM_GED", "a empresa não usa gestão de documentos"},
    {0x80EE000Cu, "E_QXDF_JA_EXISTE", "já existe um registro com essa chave"},
    {0x80EE000Du, "E_QXDF_BANCO_EM_REDE",
     "o banco SQLite da empresa está numa pasta de rede, que as máquinas não compartilham"},
    {0x80EE000Eu, "E_QXDF_EMPRESA_EM_USO",
     "a empresa está sendo movida de banco, ou ainda há programas com ela aberta"},
    {0x81080A04u, "E_QXCR_NAO_INICIALIZADO", "o serviço não foi inicializado"},
    {0x81080AA8u, "E_QXCR_SEM_OBJETO", "o objeto do serviço não existe mais"},
    {0x81080BB1u, "E_QXCR_FALHA_INTERNA", "falha interna do servidor"},
    {0x81080BFDu, "E_QXCR_VERSAO_INCOMPATIVEL", "versão do registro de inicialização incompatível"},
    {0x81080C17u, "E_QXCR_CRC_INICIALIZACAO_INVALIDO", "CRC do registro de inicialização inválido"},
    {0x81080C19u, "E_QXCR_ESTRUTURA_INICIALIZACAO_INVALIDA",
     "estrutura do registro de inicialização inválida"},
    {0x80010108u, "", "o servidor desconectou"},
    {0x80070027u, "", "disco cheio"},
};

template <size_t N>
const Row* Find(const Row (&rows)[N], uint32_t code) {
  for (const Row& row : rows) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

}  // namespace

CodeText DescribeCode(HRESULT hr) {
  const auto code = static_cast<uint32_t>(hr);
  const Row* row = Find(kCodes, code);
  // A record file's status travels bare, or in the interface facility with
  // either severity.
  if (row == nullptr && (code <= 0xFFFF || HresultFacility(hr) == FACILITY_ITF)) {
    row = Find(kStatuses, static_cast<uint32_t>(HresultCode(hr)));
  }
  CodeText text;
  if (row != nullptr) {
    text.name = row->name;
    text.description = row->description;
  }
  if (text.name.empty()) text.name = SymbolicName(hr);
  if (text.name.empty() && HresultFacility(hr) == kFacilityWin32) text.name = CodeName(hr);
  // A code of the suite's other modules without a name of its own: its module's facility.
  if (const std::string facility = FacilityName(hr);
      text.name.empty() && facility.starts_with("QX_")) {
    text.name = facility;
  }
  // The system's text, unless all it knows is the name.
  if (const std::string system = Cp1252ToUtf8(TextoMensagemSistema(hr));
      text.description.empty() && system != text.name && system != SymbolicName(hr)) {
    text.description = system;
  }
  return text;
}

}  // namespace qx
