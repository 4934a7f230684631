#include "board_test_util.h"

#include <sstream>
#include <vector>

std::string mirror_fen(const std::string& fen) {
    std::istringstream in(fen);
    std::string placement, side, castling, ep, rest;
    in >> placement >> side >> castling >> ep;
    std::getline(in, rest);

    std::vector<std::string> ranks;
    std::stringstream ps(placement);
    for (std::string r; std::getline(ps, r, '/');) ranks.push_back(r);
    std::string flipped;
    for (auto it = ranks.rbegin(); it != ranks.rend(); ++it) {
        if (!flipped.empty()) flipped += '/';
        for (char c : *it) flipped += std::isalpha(static_cast<unsigned char>(c)) ? char(c ^ 0x20) : c;
    }
    std::string swapped_castling;
    for (char c : castling) swapped_castling += c == '-' ? c : char(c ^ 0x20);
    // Re-order rights to the usual KQkq order.
    std::string ordered;
    for (char c : std::string("KQkq"))
        if (swapped_castling.find(c) != std::string::npos) ordered += c;
    if (ordered.empty()) ordered = "-";
    std::string mirrored_ep = ep;
    if (ep.size() == 2) mirrored_ep[1] = char('1' + ('8' - ep[1]));
    return flipped + " " + (side == "w" ? "b" : "w") + " " + ordered + " " + mirrored_ep + rest;
}
