// Evaluation terms and endings against the hand-worked values of the tables in tests/data/tables.
#include <gtest/gtest.h>

#include "data_table.h"
#include "eval/endgames.h"
#include "eval/evaluate.h"
#include "eval/pawns.h"
#include "eval/psq.h"
#include "eval/terms.h"

namespace {

// The term a table row names, on the position: "mobility.b" is Black's mobility, "scale 100" the
// scale factor of the White-relative value 100. Scores come packed, as make_score gives them.
long long term_value(const std::string& term, const Position& pos) {
    const std::string name = term.substr(0, term.find_first_of(". "));
    const int color = term.find(".b") != std::string::npos ? BLACK : WHITE;
    EvalAttacks at;
    score_attack_terms(pos, at);
    if (name == "evaluate") return evaluate(pos);
    if (name == "phase") return game_phase(pos);
    if (name == "pawns") return eval_pawns(pos);
    if (name == "structure") return pawn_structure(pos);
    if (name == "mobility") return at.mobility[color];
    if (name == "outposts") return eval_outposts(pos, at, color);
    if (name == "rooks") return eval_rooks(pos, color);
    if (name == "threats") return at.threats[color];
    if (name == "king_danger") return eval_king_danger(pos, at, color);
    if (name == "passed") return eval_passed_extras(pos);
    if (name == "special") return eval_special_endgames(pos);
    if (name == "krpkr") return krpkr_scale(pos, color);
    if (name == "scale") return eval_scale_factor(pos, std::stoi(term.substr(5)));
    ADD_FAILURE() << "unknown term " << term;
    return 0;
}

// Whether a number meets an expectation: "v" exactly, or a bound "> v", "< v" or "!= v".
bool meets(long long got, const std::string& expected) {
    const char op = expected[0];
    if (op != '<' && op != '>' && op != '!') return got == std::stoll(expected);
    const long long v = std::stoll(expected.substr(expected.find(' ')));
    return op == '<' ? got < v : op == '>' ? got > v : got != v;
}

// "mg eg" is a packed score; anything else a number or a bound.
std::string as_expected(const std::string& value) {
    const size_t space = value.find(' ');
    if (space == std::string::npos || std::string("<>!").find(value[0]) != std::string::npos) return value;
    return std::to_string(make_score(std::stoi(value), std::stoi(value.substr(space))));
}

void check_table(const char* name) {
    static Position pos;
    for (const TableRow& row : read_table(name)) {
        ASSERT_EQ(row.size(), 3u) << row[0];
        parse_fen(pos, row[1].c_str());
        const long long got = term_value(row[0], pos);
        if (!meets(got, as_expected(row[2])))
            ADD_FAILURE() << row[0] << " | " << row[1] << ": expected " << row[2] << ", got " << got
                          << " (halves " << mg_value(Score(got)) << " " << eg_value(Score(got)) << ")";
    }
}

TEST(EvalTerms, HandWorkedValues) { check_table("eval_terms.txt"); }
TEST(Endgames, RecognisedEndingsAndScaleFactors) { check_table("endgames.txt"); }

}  // namespace
