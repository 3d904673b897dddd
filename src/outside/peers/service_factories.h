// The implementations of the peer services over a company's suite database.
#pragma once

#include <memory>

#include "outside/database/suite_database.h"
#include "outside/peers/peer_services.h"

namespace qx {

// The change log of the user's sessions.
CQXComPtr<IQXDF_Log> MakeChangeLog(std::shared_ptr<SuiteDatabase> db, uint16_t usuario);
CQXComPtr<IQXCN_Historico> MakeHistoryService(std::shared_ptr<SuiteDatabase> db);
CQXComPtr<IQXCN_Mestre> MakeMasterService(std::shared_ptr<SuiteDatabase> db);
// The analytics service opens the database of each company it is given.
CQXComPtr<IQXCR_Analytics> MakeAnalyticsService();

}  // namespace qx
