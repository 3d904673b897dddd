// The local-server runtime: the COM calls by which a server offers its classes and a client
// creates their objects in another process of the same machine. A class is found through the
// registry store (ProgID -> CLSID -> LocalServer32); each registered class listens on a
// Unix-domain socket named by its CLSID in the runtime folder; a client that finds nobody
// listening starts the class's LocalServer32 with "-Embedding" and retries for up to 10 s.
//
// Results beyond the usual ones:
//   REGDB_E_CLASSNOTREG       no LocalServer32 for the class, or a context without
//                             CLSCTX_LOCAL_SERVER
//   CO_E_SERVER_EXEC_FAILURE  the registered server could not be started: its program is
//                             missing or cannot be run
//   CO_E_SERVER_START_TIMEOUT the server started but nobody listened within 10 s
//   E_OUTOFMEMORY             no process could be made for the server
//   CO_E_OBJISREG             CoRegisterClassObject while another server (this process or
//                             another) holds the class's lock file
//   RPC_S_SERVER_UNAVAILABLE  the server's connection broke during a call
//   RPC_S_SERVER_TOO_BUSY     the server already serves as many connections as it takes
//   E_ACCESSDENIED            the server refused this user; or the client refused the runtime
//                             folder or the server found there (runtime_folder.h), reported
//                             through the runtime log hook with what is wrong
#pragma once

#include <cstdint>
#include <string>

#include "platform/bstr.h"
#include "platform/com_types.h"
#include "platform/guid.h"
#include "platform/unknown.h"

using DWORD = uint32_t;

inline constexpr HRESULT CO_S_NOTALLINTERFACES = static_cast<HRESULT>(0x00080012u);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
inline constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3u);
inline constexpr HRESULT CO_E_OBJISREG = static_cast<HRESULT>(0x800401FBu);
inline constexpr HRESULT CO_E_OBJNOTREG = static_cast<HRESULT>(0x800401FCu);
inline constexpr HRESULT CO_E_SERVER_EXEC_FAILURE = static_cast<HRESULT>(0x80080005u);
inline constexpr HRESULT CO_E_SERVER_START_TIMEOUT = static_cast<HRESULT>(0x8000401Eu);
inline constexpr HRESULT RPC_E_TOO_LATE = static_cast<HRESULT>(0x80010106u);
inline constexpr HRESULT RPC_E_INVALID_OBJECT = static_cast<HRESULT>(0x80010114u);
inline constexpr HRESULT RPC_S_SERVER_UNAVAILABLE = static_cast<HRESULT>(0x800706BAu);
inline constexpr HRESULT RPC_S_SERVER_TOO_BUSY = static_cast<HRESULT>(0x800706BBu);

inline constexpr DWORD COINIT_MULTITHREADED = 0;
inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
inline constexpr DWORD CLSCTX_ALL = 0x17;
inline constexpr DWORD REGCLS_SINGLEUSE = 0;
inline constexpr DWORD REGCLS_MULTIPLEUSE = 1;
inline constexpr DWORD REGCLS_SUSPENDED = 4;

inline constexpr DWORD RPC_C_AUTHN_LEVEL_DEFAULT = 0;
inline constexpr DWORD RPC_C_AUTHN_LEVEL_NONE = 1;
inline constexpr DWORD RPC_C_IMP_LEVEL_IMPERSONATE = 3;
inline constexpr DWORD RPC_C_AUTHN_NONE = 0;
inline constexpr DWORD RPC_C_AUTHN_WINNT = 10;
inline constexpr DWORD RPC_C_AUTHZ_NONE = 0;
inline constexpr DWORD EOAC_NONE = 0;

// {00000001-0000-0000-C000-000000000046}
inline constexpr IID IID_IClassFactory = {
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IClassFactory : IUnknown {
  virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
  virtual HRESULT LockServer(int lock) = 0;

 protected:
  ~IClassFactory() = default;
};

// Accepted and ignored: the runtime reaches local servers only.
struct COAUTHINFO {
  DWORD dwAuthnSvc;
  DWORD dwAuthzSvc;
  OLECHAR* pwszServerPrincName;
  DWORD dwAuthnLevel;
  DWORD dwImpersonationLevel;
  void* pAuthIdentityData;
  DWORD dwCapabilities;
};
struct COSERVERINFO {
  DWORD dwReserved1;
  OLECHAR* pwszName;
  COAUTHINFO* pAuthInfo;
  DWORD dwReserved2;
};
struct MULTI_QI {
  const IID* pIID;
  IUnknown* pItf;
  HRESULT hr;
};

// The runtime has a single, multithreaded apartment: both always succeed.
HRESULT CoInitializeEx(void* reserved, DWORD coInit);
void CoUninitialize();

// Authentication level RPC_C_AUTHN_LEVEL_NONE lets any local user connect to the classes
// registered afterwards (their socket folder is made 0711); any other level admits the
// server's own user and root only. The other arguments are accepted and ignored.
HRESULT CoInitializeSecurity(void* securityDescriptor, int32_t authServiceCount, void* authServices,
                             void* reserved1, DWORD authnLevel, DWORD impLevel, void* authList,
                             DWORD capabilities, void* reserved3);

// Offers the class: takes its lock file, listens on its socket, and accepts connections at
// once, or from CoResumeClassObjects with REGCLS_SUSPENDED. Every registration serves any
// number of clients, as REGCLS_MULTIPLEUSE. The runtime holds a reference on the factory
// until revoked. Connections are served in parallel, one thread each; the objects that a
// connection creates are released when it closes.
HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* factory, DWORD context, DWORD flags,
                              DWORD* cookie);
HRESULT CoResumeClassObjects();
// Stops accepting new connections on every registered class (the live ones go on).
HRESULT CoSuspendClassObjects();
// Withdraws the class: stops listening, ends its connections (releasing their objects),
// removes the socket and releases the lock file and the factory.
HRESULT CoRevokeClassObject(DWORD cookie);

// Creates an object of the class in its local server, over a connection of its own, and
// asks for each interface of results. Every interface needs a proxy factory (see
// com_runtime_proxy.h). S_OK when all came, CO_S_NOTALLINTERFACES when some did,
// E_NOINTERFACE when none did.
HRESULT CoCreateInstanceEx(REFCLSID clsid, IUnknown* outer, DWORD context, COSERVERINFO* serverInfo,
                           DWORD count, MULTI_QI* results);

// The class object of the class in its local server, over a connection of its own: a proxy
// of IClassFactory (iid IID_IClassFactory or IID_IUnknown, else E_NOINTERFACE). Its
// CreateInstance creates objects there as CoCreateInstanceEx does. Its LockServer(TRUE)
// keeps the server running past its idle time until LockServer(FALSE), or until the proxy
// and every object created through it are released (which closes the connection);
// LockServer(FALSE) without a lock gives S_FALSE.
HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, COSERVERINFO* serverInfo, REFIID iid,
                         void** object);

// Accepted and ignored: S_OK.
HRESULT CoSetProxyBlanket(IUnknown* proxy, DWORD authnService, DWORD authzService,
                          OLECHAR* serverPrincipalName, DWORD authnLevel, DWORD impLevel,
                          void* authInfo, DWORD capabilities);

// HKEY_CLASSES_ROOT\<ProgID>\CLSID, following CurVer for a version-independent ProgID;
// CO_E_CLASSSTRING for an unknown ProgID.
HRESULT CLSIDFromProgID(const OLECHAR* progId, CLSID* clsid);

namespace qx {

// The same for a Windows-1252 ProgID.
HRESULT ClassIdFromProgId(const std::string& progId, CLSID* clsid);
// The class's LocalServer32 command line; REGDB_E_CLASSNOTREG when there is none.
HRESULT LocalServerCommand(const CLSID& clsid, std::string* command);

}  // namespace qx
