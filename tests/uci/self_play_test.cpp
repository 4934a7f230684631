// End-to-end: two engine processes play complete fast games against each other through real
// pipes, refereed by the engine's own board code.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "board/makemove.h"
#include "board/legality.h"
#include "search/limits.h"
#include "uci/engine_process.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int GAMES = 4;
constexpr int START_CLOCK_MS = 1000;
constexpr int INCREMENT_MS = 15;  // above the 10 ms the engine may use on a nearly empty clock
constexpr int MOVE_CAP_PLIES = 120;
// Overruns of the hard limit, measured from the driver's side of the pipes: nearly all must stay
// small; a rare one may be a busy machine's scheduling.
constexpr long long TYPICAL_OVERRUN_MS = 50;
constexpr long long WORST_OVERRUN_MS = 500;

const char* const END_NAMES[] = {"mate", "stalemate", "repetition", "fifty moves", "move cap"};

bool threefold(const Position& pos) {
    int seen = 1;
    for (int i = pos.history_len - 2; i >= 0 && i >= pos.history_len - pos.halfmove_clock; i -= 2)
        seen += pos.history[i].hash == pos.hash;
    return seen >= 3;
}

// The moves the engine lists for the position with "perft 1".
std::set<std::string> engine_legal_moves(EngineProcess& engine) {
    engine.send("perft 1");
    std::set<std::string> moves;
    for (const std::string& l : engine.read_until("Total:"))
        if (!has_prefix(l, "Total:")) moves.insert(l.substr(0, l.find(':')));
    return moves;
}

// Plays one game and names how it ended; appends each search's overrun of its hard limit.
const char* play_game(EngineProcess* engines[2], const std::string& opening, std::vector<long long>& overruns_ms) {
    static Position pos;
    parse_fen(pos, START_FEN);
    std::string moves;
    int clock[2] = {START_CLOCK_MS, START_CLOCK_MS};
    for (int ply = 0;; ++ply) {
        MoveList legal;
        generate_legal_moves(pos, legal);
        if (legal.count == 0) return END_NAMES[in_check(pos) ? 0 : 1];
        if (threefold(pos)) return END_NAMES[2];
        if (pos.halfmove_clock >= 100) return END_NAMES[3];
        if (ply >= MOVE_CAP_PLIES) return END_NAMES[4];

        EngineProcess& engine = *engines[pos.side];
        engine.send("position startpos" + (moves.empty() ? std::string() : " moves" + moves));
        const std::set<std::string> listed = engine_legal_moves(engine);
        EXPECT_EQ(int(listed.size()), legal.count);
        std::string played = opening;
        if (ply > 0) {
            SearchLimits limits{};
            limits.wtime = clock[WHITE], limits.btime = clock[BLACK], limits.winc = limits.binc = INCREMENT_MS;
            const std::string go = "go wtime " + std::to_string(clock[WHITE]) + " btime " + std::to_string(clock[BLACK]) +
                                   " winc " + std::to_string(INCREMENT_MS) + " binc " + std::to_string(INCREMENT_MS);
            const auto start = Clock::now();
            engine.send(go);
            const auto lines = engine.read_until("bestmove");
            const long long elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
            if (lines.empty() || !has_prefix(lines.back(), "bestmove ")) {
                ADD_FAILURE() << "no bestmove after " << go;
                return "";
            }
            played = lines.back().substr(9);
            overruns_ms.push_back(elapsed - allot_time(limits, pos.side).hard);
            clock[pos.side] += INCREMENT_MS - int(elapsed);
            EXPECT_GT(clock[pos.side], 0) << "flag fell at ply " << ply;
        }
        if (!listed.count(played)) {
            ADD_FAILURE() << "illegal bestmove " << played << " after" << moves;
            return "";
        }
        for (int i = 0; i < legal.count; ++i)
            if (played == move_to_str(legal.moves[i])) make_move(pos, legal.moves[i]);
        moves += " " + played;
    }
}

TEST(SelfPlay, FastGamesEndByTheRulesWithLegalMovesOnTime) {
    EngineProcess first, second;
    for (EngineProcess* e : {&first, &second}) e->send("setoption name Hash value 16");
    // The games open with different first moves, each engine playing White twice.
    static Position start;
    parse_fen(start, START_FEN);
    MoveList openings;
    generate_legal_moves(start, openings);
    std::vector<long long> over;
    for (int game = 0; game < GAMES && !HasFailure(); ++game) {
        EngineProcess* engines[2] = {game % 2 ? &second : &first, game % 2 ? &first : &second};
        for (EngineProcess* e : engines) {
            e->send("ucinewgame");
            ASSERT_TRUE(e->ready());
        }
        const std::string opening = move_to_str(openings.moves[game * 5]);
        const char* end = play_game(engines, opening, over);
        std::printf("self-play game %d, %s: %s\n", game + 1, opening.c_str(), end);
    }
    ASSERT_FALSE(over.empty());
    std::sort(over.begin(), over.end());
    const long long worst = over.back(), p95 = over[over.size() * 95 / 100];
    std::printf("self-play: %zu searches; overrun of the hard limit: largest %lld ms, 95th percentile %lld ms\n",
                over.size(), worst, p95);
    EXPECT_LE(p95, TYPICAL_OVERRUN_MS);
    EXPECT_LE(worst, WORST_OVERRUN_MS);
}

}  // namespace
