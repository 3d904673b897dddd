#include "storage/qx_arq_marca_enum.h"

#include <algorithm>
#include <array>
#include <utility>

#include "storage/arq_status.h"

namespace {

// (mark number, code), ordered by number.
constexpr std::array<std::pair<int, int>, 60> kCodigos{{
    {1, 16225},   {2, 16233},   {3, 16241},   {4, 16250},   {5, 16268},   {6, 16276},
    {7, 16284},   {8, 16306},   {9, 16357},   {10, 80021},  {11, 80039},  {12, 80047},
    {13, 80055},  {14, 82015},  {15, 82023},  {16, 80195},  {17, 83097},  {18, 76317},
    {19, 76325},  {20, 76333},  {21, 76341},  {22, 83101},  {23, 80233},  {25, 996},
    {26, 997},    {27, 998},    {28, 999},    {29, 310468}, {30, 316571}, {31, 31},
    {32, 32},     {50, 3171},   {51, 347469}, {52, 52},     {53, 53},     {55, 54},
    {56, 55},     {57, 57},     {60, 59},     {68, 2724},   {69, 2725},   {70, 2726},
    {71, 2727},   {101, 2722},  {102, 2723},  {200, 32000}, {201, 32018}, {202, 32026},
    {203, 32034}, {204, 32042}, {205, 32051}, {206, 32069}, {207, 32077}, {208, 32085},
    {209, 32093}, {210, 32107}, {211, 32115}, {212, 32123}, {213, 32131}, {253, 253},
}};

}  // namespace

int IQXArqMarcaEnum::CodigoMarcaOcupada(int numero) {
  const auto it = std::lower_bound(kCodigos.begin(), kCodigos.end(), numero,
                                   [](const auto& linha, int n) { return linha.first < n; });
  return it != kCodigos.end() && it->first == numero ? it->second : ARQ_MARCA_INDISPONIVEL;
}
