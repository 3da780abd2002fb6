// The one thread that talks to the communicator. Pages post numbered requests with the window
// to answer; the worker serves them one at a time, in posting order, and answers through the
// ResultChannel, waiting until the answer has been handled.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

#include "link/LinkMessages.h"

class SerialPort;
class ResultChannel;
struct DeviceData;

class LinkWorker {
  public:
    LinkWorker(SerialPort& port, DeviceData& data, ResultChannel& results);
    ~LinkWorker();
    LinkWorker(const LinkWorker&) = delete;
    LinkWorker& operator=(const LinkWorker&) = delete;

    // Starts the thread; false when it could not be created.
    bool Start();
    // Asks the thread to quit (command 13) and waits for it, 3000 ms at most for the quit
    // itself. A delivery or an exchange in progress is released first, so the thread never
    // outlives the buffers it works on.
    void Stop();
    bool IsRunning() const { return m_thread.joinable(); }

    // WM_LINK_REQUEST: does nothing before Start. Commands above 13 are served as nothing.
    void PostRequest(int command, WindowHandle window);

    void RequestScan(WindowHandle window) { PostRequest(linkcmd::kScan, window); }
    void RequestIdentify(WindowHandle window) { PostRequest(linkcmd::kIdentify, window); }
    void RequestEvents(WindowHandle window) { PostRequest(linkcmd::kReadEvents, window); }
    void RequestUpload(WindowHandle window) { PostRequest(linkcmd::kUpload, window); }
    void RequestDial(WindowHandle window) { PostRequest(linkcmd::kDial, window); }
    void RequestDisconnect(WindowHandle window) { PostRequest(linkcmd::kDisconnect, window); }
    void RequestStatus(WindowHandle window) { PostRequest(linkcmd::kWaitStatus, window); }
    // Reads the unit's settings and texts into `into`, which the page leaves alone until the
    // answer (kReadBack) has come.
    void RequestReadBack(WindowHandle window, DeviceData& into);

    static constexpr int kStopWaitMs = 3000;
    static constexpr int kQuitPauseMs = 500;
    static constexpr std::size_t kTxScratchSize = 256;

  private:
    struct Request {
        int command;
        WindowHandle window;
        DeviceData* into = nullptr;  // kReadBack's record
    };

    void Queue(const Request& request);

    void Run();
    Request NextRequest();
    // Runs one command to its end; false when the thread is to end.
    bool Serve(const Request& request);
    // The quit's exchange runs on a line freed of Stop's first abort, unless Stop has given
    // up waiting by then.
    void BeginQuit();

    SerialPort& m_port;
    DeviceData& m_data;
    ResultChannel& m_results;

    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_endedSignal;
    std::deque<Request> m_queue;
    bool m_ended = false;
    bool m_stopOverdue = false;  // Stop's wait ran out; its abort stands

    // Sent as one frame by command 9; no page fills it.
    std::array<std::uint8_t, kTxScratchSize> m_txScratch{};
    std::uint16_t m_txScratchLength = 0;
};
