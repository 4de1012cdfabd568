#include "platform/Network.h"

// winsock2 before windows.h, and the ICMP declarations after both.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <cstring>

namespace hc::network {

int LookUpHost(const std::string& hostName, Ipv4Address& address) {
    WSADATA data{};
    // A failed start-up shows as a failed lookup below.
    WSAStartup(MAKEWORD(1, 1), &data);
    int result = -3;
    address = {};
    if (const hostent* entry = gethostbyname(hostName.c_str())) {
        if (entry->h_addrtype == AF_INET && entry->h_length == 4 && entry->h_addr_list && entry->h_addr_list[0]) {
            std::memcpy(address.data(), entry->h_addr_list[0], 4);
            result = 0;
        } else {
            result = -1;
        }
    } else {
        const int error = WSAGetLastError();
        if (error == WSAHOST_NOT_FOUND) result = -2;
        else if (error == WSANO_DATA) result = -1;
    }
    WSACleanup();
    return result;
}

bool EchoAnswered(const Ipv4Address& address, unsigned timeoutMs) {
    const HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE) return false;
    IPAddr target = 0;
    std::memcpy(&target, address.data(), 4);
    // Room for one reply and the error information the call may add.
    alignas(ICMP_ECHO_REPLY) unsigned char reply[sizeof(ICMP_ECHO_REPLY) + 128]{};
    const DWORD replies = IcmpSendEcho(icmp, target, nullptr, 0, nullptr, reply, sizeof(reply), timeoutMs);
    const auto* first = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply);
    const bool answered = replies == 1 && first->Status == IP_SUCCESS;
    IcmpCloseHandle(icmp);
    return answered;
}

}  // namespace hc::network
