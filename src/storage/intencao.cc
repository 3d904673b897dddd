#include "storage/intencao.h"

#include <algorithm>
#include <cstring>

#include "platform/path.h"
#include "storage/file_access.h"
#include "storage/retry_budgets.h"
#include "values/crc64.h"

namespace qx {
namespace {

constinit thread_local Intencao* tAtiva = nullptr;

// The files the undoing writes back: they exist, and readers may hold them.
constexpr unsigned kAberturaDesfazer =
    CFile::modeReadWrite | CFile::modeNoTruncate | CFile::shareDenyWrite;

template <typename T>
std::string Bytes(const T& valor) {
  return std::string(reinterpret_cast<const char*>(&valor), sizeof valor);
}

std::string Entrada(char tipo, const std::string& nome, uint64_t posicao, const std::string& dados) {
  IntentEntryHead cabeca{};
  cabeca.cTipo = tipo;
  cabeca.cNome = static_cast<uint8_t>(nome.size());
  cabeca.Tamanho = static_cast<uint32_t>(dados.size());
  cabeca.Posicao = posicao;
  std::string entrada = Bytes(cabeca) + nome + dados;
  return entrada + Bytes(Crc64(entrada));
}

// The whole entries of an intent's bytes from `inicio` on.
std::vector<EntradaIntencao> Entradas(const std::string& texto, size_t inicio) {
  std::vector<EntradaIntencao> entradas;
  for (size_t p = inicio; p + sizeof(IntentEntryHead) <= texto.size();) {
    IntentEntryHead cabeca;
    std::memcpy(&cabeca, texto.data() + p, sizeof cabeca);
    const size_t corpo = sizeof cabeca + cabeca.cNome + size_t{cabeca.Tamanho};
    uint64_t crc = 0;
    if ((cabeca.cTipo != kIntentLength && cabeca.cTipo != kIntentBytes) || cabeca.cNome == 0 ||
        texto.size() - p < corpo + sizeof crc) {
      break;
    }
    std::memcpy(&crc, texto.data() + p + corpo, sizeof crc);
    if (crc != Crc64(std::string_view(texto).substr(p, corpo))) break;
    EntradaIntencao& e = entradas.emplace_back();
    e.tipo = cabeca.cTipo;
    e.nome = texto.substr(p + sizeof cabeca, cabeca.cNome);
    e.posicao = cabeca.Posicao;
    e.bytes = texto.substr(p + sizeof cabeca + cabeca.cNome, cabeca.Tamanho);
    p += corpo + sizeof crc;
  }
  return entradas;
}

// Undoes one entry on an open file.
void DesfazEntrada(CFile& arquivo, const EntradaIntencao& e, ArquivoDesfeito* desfeito) {
  if (e.tipo == kIntentLength) {
    desfeito->comprimentoAntes = e.posicao;
    if (arquivo.GetLength() > e.posicao) arquivo.SetLength(e.posicao);
    return;
  }
  arquivo.Seek(static_cast<int64_t>(e.posicao), CFile::begin);
  arquivo.Write(e.bytes.data(), static_cast<uint32_t>(e.bytes.size()));
  desfeito->trechos.emplace_back(e.posicao, static_cast<uint32_t>(e.bytes.size()));
}

}  // namespace

void LeIntencao(const std::string& bytes, std::optional<IntentHeader>* cabecalho,
                std::vector<EntradaIntencao>* entradas) {
  cabecalho->reset();
  entradas->clear();
  IntentHeader h;
  if (bytes.size() < sizeof h) return;
  std::memcpy(&h, bytes.data(), sizeof h);
  if (std::memcmp(h.cMarca, kIntentMark, sizeof h.cMarca) != 0 ||
      h.Crc != Crc64Bytes(&h, offsetof(IntentHeader, Crc))) {
    return;
  }
  *cabecalho = h;
  *entradas = Entradas(bytes, sizeof h);
}

IntentHeader CabecalhoIntencao(uint64_t operacao, uint32_t sessao, uint16_t usuario, char tipo) {
  IntentHeader h{};
  std::memcpy(h.cMarca, kIntentMark, sizeof h.cMarca);
  h.Operacao = operacao;
  h.Sessao = sessao;
  h.Usuario = usuario;
  h.cTipo = tipo;
  h.cVersao = kIntentVersion;
  h.Crc = Crc64Bytes(&h, offsetof(IntentHeader, Crc));
  return h;
}

Intencao::~Intencao() { Termina(); }

Intencao* Intencao::DaThread() { return tAtiva; }

int Intencao::Abre(CFile& arquivo, const std::string& pasta, bool* pendente) {
  arquivo_ = &arquivo;
  pasta_ = pasta;
  return ComOrcamento(kLeQXarq, [&] {
    *pendente = arquivo_->GetLength() > 0;
    return ARQ_OK;
  });
}

int Intencao::Le(std::optional<IntentHeader>* cabecalho, std::vector<EntradaIntencao>* entradas) {
  std::string texto;
  const int status = ComOrcamento(kLeQXarq, [&] {
    texto.assign(arquivo_->GetLength(), '\0');
    arquivo_->SeekToBegin();
    texto.resize(arquivo_->Read(texto.data(), static_cast<uint32_t>(texto.size())));
    return ARQ_OK;
  });
  LeIntencao(status == ARQ_OK ? texto : std::string(), cabecalho, entradas);
  return status;
}

int Intencao::Desfaz(std::vector<ArquivoDesfeito>* arquivos) {
  arquivos->clear();
  std::optional<IntentHeader> cabecalho;
  std::vector<EntradaIntencao> entradas;
  if (int status = Le(&cabecalho, &entradas)) return status;
  // Each file is opened once, in the order its last entry comes.
  std::map<std::string, CFile> abertos;
  std::map<std::string, size_t> indices;
  for (auto e = entradas.rbegin(); e != entradas.rend(); ++e) {
    auto [indice, novo] = indices.try_emplace(e->nome, arquivos->size());
    if (novo) {
      arquivos->emplace_back();
      arquivos->back().nome = e->nome;
    }
    ArquivoDesfeito& desfeito = (*arquivos)[indice->second];
    if (desfeito.ausente) continue;
    CFile& arquivo = abertos[e->nome];
    if (novo) {
      const std::string caminho = JoinPath(pasta_, e->nome);
      const int abertura =
          AbreComOrcamento(arquivo, caminho.c_str(), kAberturaDesfazer, kAbreQXarq);
      desfeito.ausente = abertura == ARQ_NAO_ENCONTRADO;
      if (desfeito.ausente) continue;
      if (abertura != ARQ_OK) return abertura;
      if (int status = ComOrcamento(kLeQXarq, [&] {
            desfeito.comprimentoEncontrado = arquivo.GetLength();
            return ARQ_OK;
          })) {
        return status;
      }
    }
    if (int status = ComOrcamento(kGravaQXarq, [&] {
          DesfazEntrada(arquivo, *e, &desfeito);
          return ARQ_OK;
        })) {
      return status;
    }
  }
  for (auto& [nome, arquivo] : abertos) {
    if (!arquivo.IsOpen()) continue;
    if (int status = FechaArquivo(arquivo)) return status;
  }
  return ARQ_OK;
}

int Intencao::Anuncia(CFile& arquivo) {
  const std::string nome = arquivo.GetFileName();
  if (comprimentos_.contains(nome)) return ARQ_OK;
  return ComOrcamento(kLeQXarq, [&] {
    const uint64_t comprimento = arquivo.GetLength();
    anunciados_ += Entrada(kIntentLength, nome, comprimento, {});
    comprimentos_.emplace(nome, comprimento);
    return ARQ_OK;
  });
}

int Intencao::Limpa() {
  cabecalho_.clear();
  anunciados_.clear();
  comprimentos_.clear();
  guardados_.clear();
  fim_ = 0;
  return ComOrcamento(kGravaQXarq, [&] {
    if (arquivo_->GetLength() > 0) arquivo_->SetLength(0);
    return ARQ_OK;
  });
}

void Intencao::Comeca(const IntentHeader& cabecalho) {
  cabecalho_ = Bytes(cabecalho);
  anunciados_.clear();
  comprimentos_.clear();
  guardados_.clear();
  fim_ = 0;
  tAtiva = this;
}

void Intencao::Termina() {
  if (tAtiva == this) tAtiva = nullptr;
}

void Intencao::AntesDeEscrever(CFile& arquivo, uint64_t posicao, uint32_t tamanho) {
  const std::string nome = arquivo.GetFileName();
  std::string entradas;
  auto comprimento = comprimentos_.find(nome);
  const bool primeira = comprimento == comprimentos_.end();
  const uint64_t antes = primeira ? arquivo.GetLength() : comprimento->second;
  if (primeira) entradas += Entrada(kIntentLength, nome, antes, {});
  const uint64_t fimGuardado = std::min<uint64_t>(posicao + tamanho, antes);
  const bool guardar = posicao < fimGuardado && !guardados_.contains({nome, posicao});
  if (guardar) {
    std::string velhos(fimGuardado - posicao, '\0');
    arquivo.Seek(static_cast<int64_t>(posicao), CFile::begin);
    velhos.resize(arquivo.Read(velhos.data(), static_cast<uint32_t>(velhos.size())));
    entradas += Entrada(kIntentBytes, nome, posicao, velhos);
  }
  // The lengths announced go to the intent before any write.
  if (entradas.empty() && anunciados_.empty()) return;
  Acrescenta(entradas);
  if (primeira) comprimentos_.emplace(nome, antes);
  if (guardar) guardados_.emplace(nome, posicao);
}

void Intencao::Acrescenta(const std::string& bytes) {
  // A write that stops part way leaves no whole entry: readers stop before
  // it, and the next entry goes over it.
  const std::string texto = cabecalho_ + anunciados_ + bytes;
  arquivo_->Seek(static_cast<int64_t>(fim_), CFile::begin);
  arquivo_->Write(texto.data(), static_cast<uint32_t>(texto.size()));
  fim_ += texto.size();
  cabecalho_.clear();
  anunciados_.clear();
}

}  // namespace qx
