// udp-relay: passes UDP datagrams between one client and a server on this machine, each after a
// fixed delay and each lost with a given chance, as a slow and lossy network would. Loopback only;
// it stops by itself after the given number of seconds.
//   udp-relay LISTEN_PORT SERVER_PORT DELAY_MS LOSS_PERCENT SECONDS [SEED]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

struct Datagram {
  Clock::time_point due;
  int socket;
  sockaddr_in to;
  std::vector<uint8_t> bytes;
};

int Bound(uint16_t port) {
  const int s = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    perror("udp-relay: bind");
    exit(1);
  }
  return s;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    fprintf(stderr,
            "usage: udp-relay LISTEN_PORT SERVER_PORT DELAY_MS LOSS_PERCENT SECONDS [SEED]\n");
    return 2;
  }
  const int front = Bound(static_cast<uint16_t>(atoi(argv[1])));
  const int back = Bound(0);
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  server.sin_port = htons(static_cast<uint16_t>(atoi(argv[2])));
  const auto delay = std::chrono::milliseconds(atoi(argv[3]));
  const int lossPercent = atoi(argv[4]);
  const auto end = Clock::now() + std::chrono::seconds(atoi(argv[5]));
  srand(argc > 6 ? static_cast<unsigned>(atoi(argv[6])) : 1u);

  sockaddr_in client{};
  bool haveClient = false;
  std::deque<Datagram> queue;  // in order of arrival, so in order of due time
  unsigned long passed = 0, lost = 0;
  uint8_t buffer[65536];
  while (Clock::now() < end) {
    const auto now = Clock::now();
    while (!queue.empty() && queue.front().due <= now) {
      const Datagram& d = queue.front();
      sendto(d.socket, d.bytes.data(), d.bytes.size(), 0, reinterpret_cast<const sockaddr*>(&d.to),
             sizeof d.to);
      queue.pop_front();
    }
    int waitMs = 50;
    if (!queue.empty())
      waitMs = static_cast<int>(
                   std::chrono::duration_cast<std::chrono::milliseconds>(queue.front().due - now)
                       .count()) +
               1;
    pollfd fds[2] = {{front, POLLIN, 0}, {back, POLLIN, 0}};
    if (poll(fds, 2, waitMs) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (!(fds[i].revents & POLLIN)) continue;
      sockaddr_in from{};
      socklen_t length = sizeof from;
      const ssize_t n = recvfrom(fds[i].fd, buffer, sizeof buffer, 0,
                                 reinterpret_cast<sockaddr*>(&from), &length);
      if (n < 0) continue;
      if (i == 0) {
        client = from;
        haveClient = true;
      } else if (!haveClient) {
        continue;
      }
      if (rand() % 100 < lossPercent) {
        ++lost;
        continue;
      }
      ++passed;
      queue.push_back(Datagram{Clock::now() + delay, i == 0 ? back : front,
                               i == 0 ? server : client, std::vector<uint8_t>(buffer, buffer + n)});
    }
  }
  printf("udp-relay: %lu datagrams passed, %lu lost\n", passed, lost);
  return 0;
}
