// One running reader per user, on a local socket. The first start listens on a socket named
// for the program and the user; a later start connects, says so, waits briefly for the answer
// and ends. A socket file left behind by a crashed reader refuses connections: it is removed
// and the new start takes the name, so no stale lock ever blocks a start.
//
//  [X] First start listens; later starts reach it and get an acknowledgement.
//  [X] onSecondStart runs on the GUI thread, after the acknowledgement is on its way.
//  [X] A stale socket file is removed and claimed.
//  [X] Two starts racing for the name are serialised by a lock file beside the socket.
//  [X] The socket is private to the user (file mode, and the name carries the user id); a
//      socket another user listens on under the name is not obeyed.
//  [ ] No lock at all when the runtime folder cannot be written: the start runs on its own.
#pragma once

#include <memory>
#include <string>

#include "platform/dialogs.h"

class QLocalServer;

namespace vaelo::platform::qt {

class QtInstance final : public SingleInstance {
  public:
    QtInstance();
    ~QtInstance() override;
    QtInstance(const QtInstance&) = delete;
    QtInstance& operator=(const QtInstance&) = delete;

    bool Claim(const std::string& name, void (*onSecondStart)()) override;

    // Where the socket for `name` lives: the user's runtime folder (XDG_RUNTIME_DIR) or, without
    // one, the temporary folder; the file name carries the user id.
    static std::string SocketPath(const std::string& name);

    // How long a later start waits for the first one, in milliseconds.
    int connectTimeoutMs = 1000;
    int answerTimeoutMs = 1000;

  private:
    std::unique_ptr<QLocalServer> server_;
    void (*onSecondStart_)() = nullptr;
};

}  // namespace vaelo::platform::qt
