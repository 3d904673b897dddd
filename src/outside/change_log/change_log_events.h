// The change log read as events: the records of one save or removal of an
// entry, in the order they were stored, with the entry they belong to.
//
// A save sends its records together, so they follow each other in the log:
// an image (type 24) with letter 'I', 'a' or 'E' begins an event, and the
// records after it from the same session (complement, split lines and, for
// an update, the after image 'A' with its own complement and lines) belong to
// it. An after image that follows no before image of the same entry begins an
// event of its own; a record that follows no image of its session belongs to
// no event. A check of an entry, the recovery of an operation that stopped
// part way, and the closing or reopening of a period are events without
// records.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qx {

// One change record as stored.
struct RegistroLog {
  int64_t id = 0;  // the order in which records were stored
  uint32_t sessao = 0;
  int32_t chave = 0;
  int32_t tipo = 0;
  char servico = '\0';
  std::string dados;
  std::string gravadoEm;
  // Beside the record, when its writer told them: the user of the session,
  // the foreign-currency amount of an entry image and the quantity of a
  // split line (ten-thousandths).
  std::optional<uint16_t> usuario;
  std::optional<int64_t> valorMoeda;
  std::optional<int64_t> quantidade;
};

// What a save or a removal wrote, as its records tell it, kept with the event
// so that the history reads no record.
struct ResumoEvento {
  std::string imagemAntes;    // RegLanAtual of an update's old record or of a removal
  std::string imagemDepois;   // RegLanAtual of the record a save wrote
  std::string complemento;    // the complement text saved with it (Windows-1252)
  std::string linhas;         // the split lines saved with it, each a REGLAN_GER as stored
  std::string quantidades;    // their quantities, a CURRENCY each, when the company keeps them
  int32_t primeiraLinha = 0;  // the position of the first of those lines
  std::optional<int64_t> valorMoeda;  // the foreign-currency amount saved with it

  bool operator==(const ResumoEvento&) const = default;
};

// Kinds of event.
inline constexpr char kEventoNovo = 'I';
inline constexpr char kEventoAlterado = 'A';
inline constexpr char kEventoExcluido = 'E';
inline constexpr char kEventoConferido = 'C';
// A period closed or reopened (outside/admin/periodo_fechado.h): an event of no
// entry (month and position 0) whose images before and after are the closed
// period's first and last days, two 32-bit day numbers each (0 0: none).
inline constexpr char kEventoPeriodo = 'P';
// An operation that stopped part way and was taken back: an event without
// records, whose text says what was undone.
inline constexpr char kEventoRecuperacao = 'R';
inline constexpr char kTiposEvento[] = "ACEIPR";

struct EventoLog {
  int64_t id = 0;  // its first record's id; a check's own place in the order
  char tipo = '\0';
  uint32_t sessao = 0;
  std::optional<uint16_t> usuario;
  uint16_t mes = 0;  // the entry's month-year; 0 when its image cannot be read
  int32_t posicao = 0;
  uint32_t lote = 0;  // the import batch the entry came from; 0 for none
  std::string gravadoEm;
  uint8_t conferidoAntes = 0, conferido = 0;  // a check's marks
  std::string descricao;                      // a recovery's text (Windows-1252)
  int64_t ultimo = 0;                         // the id of its last record; 0 for none
  // For an update or a removal, the entry's last new or changed save before
  // it; 0 when the log holds none.
  int64_t anterior = 0;
  ResumoEvento resumo;
  std::vector<RegistroLog> registros;  // in their order, when read
};

// Groups records, taken in the order stored, into events.
class AgrupaEventos {
 public:
  // `pronto` gets each event once no later record can belong to it.
  explicit AgrupaEventos(std::function<void(EventoLog&&)> pronto) : pronto_(std::move(pronto)) {}

  void Recebe(RegistroLog registro);
  // No record follows: the open event is ready.
  void Termina();

 private:
  void Comeca(RegistroLog registro, char tipo);

  std::function<void(EventoLog&&)> pronto_;
  std::optional<EventoLog> aberto_;
  bool comDepois_ = false;  // the open update has its after image
};

}  // namespace qx
