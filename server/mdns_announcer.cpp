#include "server/mdns_announcer.h"

#include <avahi-client/client.h>
#include <avahi-client/publish.h>
#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/thread-watch.h>

#include <cstdio>

namespace velorin::server {

namespace {

constexpr const char *kServiceType = "_scpi-raw._tcp";

}  // namespace

MdnsAnnouncer::~MdnsAnnouncer() {
    if (poll_ != nullptr) avahi_threaded_poll_stop(poll_);
    if (client_ != nullptr) avahi_client_free(client_);  // frees the group with it
    if (poll_ != nullptr) avahi_threaded_poll_free(poll_);
}

bool MdnsAnnouncer::Start(std::string &error) {
    poll_ = avahi_threaded_poll_new();
    if (poll_ == nullptr) {
        error = "cannot start Avahi's event loop";
        return false;
    }
    int code = 0;
    // NO_FAIL: without a daemon the client waits for one instead of failing.
    client_ = avahi_client_new(
        avahi_threaded_poll_get(poll_), AVAHI_CLIENT_NO_FAIL,
        [](AvahiClient *c, AvahiClientState state, void *self) {
            OnClient(c, static_cast<int>(state), self);
        },
        this, &code);
    if (client_ == nullptr) {
        error = std::string("Avahi: ") + avahi_strerror(code);
        return false;
    }
    if (avahi_threaded_poll_start(poll_) < 0) {
        error = "cannot start Avahi's thread";
        return false;
    }
    return true;
}

void MdnsAnnouncer::OnClient(AvahiClient *client, int state, void *self) {
    auto *announcer = static_cast<MdnsAnnouncer *>(self);
    switch (static_cast<AvahiClientState>(state)) {
        case AVAHI_CLIENT_S_RUNNING:
            announcer->Publish(client);
            break;
        case AVAHI_CLIENT_S_COLLISION:
        case AVAHI_CLIENT_S_REGISTERING:
            if (announcer->group_ != nullptr) avahi_entry_group_reset(announcer->group_);
            break;
        case AVAHI_CLIENT_FAILURE:
            std::fprintf(stderr, "velorin-scpid: mDNS: %s\n",
                         avahi_strerror(avahi_client_errno(client)));
            break;
        case AVAHI_CLIENT_CONNECTING:
            break;
    }
}

void MdnsAnnouncer::OnGroup(AvahiEntryGroup *group, int state, void *self) {
    auto *announcer = static_cast<MdnsAnnouncer *>(self);
    switch (static_cast<AvahiEntryGroupState>(state)) {
        case AVAHI_ENTRY_GROUP_ESTABLISHED:
            std::printf("velorin-scpid: announced as \"%s\" (%s)\n", announcer->name_.c_str(),
                        kServiceType);
            std::fflush(stdout);
            break;
        case AVAHI_ENTRY_GROUP_COLLISION:
            announcer->Rename();
            announcer->Publish(avahi_entry_group_get_client(group));
            break;
        default:
            break;
    }
}

void MdnsAnnouncer::Rename() {
    char *alternative = avahi_alternative_service_name(name_.c_str());
    name_ = alternative;
    avahi_free(alternative);
}

void MdnsAnnouncer::Publish(AvahiClient *client) {
    if (group_ == nullptr) {
        group_ = avahi_entry_group_new(
            client,
            [](AvahiEntryGroup *g, AvahiEntryGroupState state, void *self) {
                OnGroup(g, static_cast<int>(state), self);
            },
            this);
        if (group_ == nullptr) return;
    }
    avahi_entry_group_reset(group_);
    for (;;) {
        const int result = avahi_entry_group_add_service(
            group_, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, static_cast<AvahiPublishFlags>(0),
            name_.c_str(), kServiceType, nullptr, nullptr, port_, nullptr);
        if (result == AVAHI_ERR_COLLISION) {
            Rename();
            continue;
        }
        if (result < 0) {
            std::fprintf(stderr, "velorin-scpid: mDNS: %s\n", avahi_strerror(result));
            return;
        }
        break;
    }
    avahi_entry_group_commit(group_);
}

}  // namespace velorin::server
