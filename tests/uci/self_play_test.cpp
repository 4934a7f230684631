// End-to-end: two engine processes play complete fast games against each
// other through real pipes, refereed by the engine's own board code.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "board/makemove.h"
#include "board/movegen.h"
#include "search/limits.h"
#include "uci/engine_process.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int GAMES = 20;
constexpr int START_CLOCK_MS = 1000;
constexpr int INCREMENT_MS = 15;  // above the 10 ms the engine may use on a nearly empty clock
constexpr int MOVE_CAP_PLIES = 120;
// Overruns of the hard limit, measured from the driver's side of the pipes:
// nearly all must stay small; a rare one may be a busy machine's scheduling.
constexpr long long TYPICAL_OVERRUN_MS = 50;
constexpr long long WORST_OVERRUN_MS = 500;

enum class GameEnd { MATE, STALEMATE, REPETITION, FIFTY_MOVES, MOVE_CAP };

bool threefold(const Position& pos) {
    int seen = 1;
    for (int i = pos.history_len - 2; i >= 0 && i >= pos.history_len - pos.halfmove_clock; i -= 2)
        if (pos.history[i].hash == pos.hash) ++seen;
    return seen >= 3;
}

// The moves the engine lists for the position with "perft 1".
std::set<std::string> engine_legal_moves(EngineProcess& engine) {
    engine.send("perft 1");
    std::set<std::string> moves;
    for (const std::string& l : engine.read_until("Total:", 10000))
        if (!has_prefix(l, "Total:")) moves.insert(l.substr(0, l.find(':')));
    return moves;
}

// Plays one game; appends each search's overrun of its hard limit to `overruns_ms`.
GameEnd play_game(EngineProcess* white, EngineProcess* black, const std::string& opening,
                  std::vector<long long>& overruns_ms) {
    for (EngineProcess* e : {white, black}) {
        e->send("ucinewgame");
        EXPECT_TRUE(e->ready());
    }
    Position pos;
    parse_fen(pos, START_FEN);
    std::string moves;
    int clock[2] = {START_CLOCK_MS, START_CLOCK_MS};
    for (int ply = 0;; ++ply) {
        MoveList legal;
        generate_legal_moves(pos, legal);
        if (legal.count == 0) return in_check(pos) ? GameEnd::MATE : GameEnd::STALEMATE;
        if (pos.halfmove_clock >= 100) return GameEnd::FIFTY_MOVES;
        if (threefold(pos)) return GameEnd::REPETITION;
        if (ply >= MOVE_CAP_PLIES) return GameEnd::MOVE_CAP;

        EngineProcess& engine = pos.side == WHITE ? *white : *black;
        engine.send("position startpos" + (moves.empty() ? std::string() : " moves" + moves));
        std::set<std::string> listed = engine_legal_moves(engine);
        EXPECT_EQ(int(listed.size()), legal.count);

        std::string played;
        if (ply == 0) {
            played = opening;
        } else {
            SearchLimits limits{};
            limits.wtime = clock[WHITE], limits.btime = clock[BLACK], limits.winc = limits.binc = INCREMENT_MS;
            char go[128];
            std::snprintf(go, sizeof(go), "go wtime %d btime %d winc %d binc %d", clock[WHITE], clock[BLACK],
                          INCREMENT_MS, INCREMENT_MS);
            auto start = Clock::now();
            engine.send(go);
            auto lines = engine.read_until("bestmove", 10000);
            long long elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
            if (lines.empty() || !has_prefix(lines.back(), "bestmove ")) {
                ADD_FAILURE() << "no bestmove after " << go;
                return GameEnd::MOVE_CAP;
            }
            played = lines.back().substr(9);
            overruns_ms.push_back(elapsed - allot_time(limits, pos.side).hard);
            clock[pos.side] += INCREMENT_MS - int(elapsed);
            EXPECT_GT(clock[pos.side], 0) << "flag fell at ply " << ply;
        }
        if (!listed.count(played)) {
            ADD_FAILURE() << "illegal bestmove " << played << " after" << moves;
            return GameEnd::MOVE_CAP;
        }
        for (int i = 0; i < legal.count; ++i)
            if (played == move_to_str(legal.moves[i])) make_move(pos, legal.moves[i]), i = legal.count;
        moves += " " + played;
    }
}

TEST(SelfPlay, FastGamesEndByTheRulesWithLegalMovesOnTime) {
    EngineProcess first, second;
    for (EngineProcess* e : {&first, &second}) {
        e->send("setoption name Hash value 16");
        ASSERT_TRUE(e->ready());
    }
    // Each game opens with a different first move, so the games differ.
    Position start;
    parse_fen(start, START_FEN);
    MoveList openings;
    generate_legal_moves(start, openings);
    ASSERT_EQ(openings.count, GAMES);

    std::vector<long long> over;
    int ends[5] = {};
    for (int game = 0; game < GAMES; ++game) {
        EngineProcess* white = game % 2 == 0 ? &first : &second;
        EngineProcess* black = game % 2 == 0 ? &second : &first;
        GameEnd end = play_game(white, black, move_to_str(openings.moves[game]), over);
        ++ends[int(end)];
        if (HasFailure()) break;
    }
    ASSERT_FALSE(over.empty());
    std::sort(over.begin(), over.end());
    const long long worst = over.back(), p95 = over[over.size() * 95 / 100];
    std::printf("self-play: %zu searches; mate %d, stalemate %d, repetition %d, fifty %d, cap %d; "
                "overrun of the hard limit: largest %lld ms, 95th percentile %lld ms\n",
                over.size(), ends[0], ends[1], ends[2], ends[3], ends[4], worst, p95);
    RecordProperty("max_overrun_ms", std::to_string(worst));
    EXPECT_LE(p95, TYPICAL_OVERRUN_MS);
    EXPECT_LE(worst, WORST_OVERRUN_MS);
}

}  // namespace
