// Announces the instrument through the Avahi daemon as a _scpi-raw._tcp service, so that
// "lxi discover --mdns" and avahi-browse find it. Avahi runs on a thread of its own; the
// announcement follows the daemon when it restarts and picks another name on a collision.
#pragma once

#include <cstdint>
#include <string>

struct AvahiThreadedPoll;
struct AvahiClient;
struct AvahiEntryGroup;

namespace velorin::server {

class MdnsAnnouncer {
  public:
    MdnsAnnouncer(std::string name, uint16_t port) : name_(std::move(name)), port_(port) {}
    ~MdnsAnnouncer();
    MdnsAnnouncer(const MdnsAnnouncer &) = delete;
    MdnsAnnouncer &operator=(const MdnsAnnouncer &) = delete;

    // False, with `error` set, when Avahi's thread cannot start. A daemon that is not running
    // is not an error: the service is announced once it comes.
    bool Start(std::string &error);

  private:
    static void OnClient(AvahiClient *client, int state, void *self);
    static void OnGroup(AvahiEntryGroup *group, int state, void *self);
    void Publish(AvahiClient *client);
    void Rename();

    std::string name_;
    uint16_t port_;
    AvahiThreadedPoll *poll_ = nullptr;
    AvahiClient *client_ = nullptr;
    AvahiEntryGroup *group_ = nullptr;
};

}  // namespace velorin::server
