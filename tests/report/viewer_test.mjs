// The report viewer's data reading, filters, fragment and statistics on their own,
// without a browser:  node --test viewer_test.mjs
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { test } from "node:test";
import { runInThisContext } from "node:vm";

for (const name of ["data.js", "sides.js", "filters.js", "fragment.js", "statistics.js"]) {
    runInThisContext(readFileSync(new URL(`../../sample/viewer/${name}`, import.meta.url), "utf8"), { filename: name });
}
const viewer = globalThis.viewer;

// The three data elements as engine.tts writes them. A battle's facts: file, saved,
// turns, level, saved by the client, then each side's name, master, deck (indices
// into strings), hp and phase (an index too). Its cards, a line a battle: each
// side's stones, status ids, hand (indices into cards), ...; the opponent's adds
// an index into decks.
const S = ["アリス", "炎帝", "速攻", "ボブ", "氷帝", "守り", "先攻", "後攻", "", "", "a\u2028b\ud800</script>"];
const cards = (hand = [], deckIndex = []) => [0, "", hand, 2, [], 0, [2], 1, [], "0,0,0,0", "", "", "", ...[deckIndex].flat()];
const rows = [
    [["b1.kvs", "2024/04/01 10:00:00", 10, "1", 0], [0, 1, 2, 20, 6], [3, 4, 5, 10, 7], cards([0, 0]), cards([], 0)],
    [["b2.kvs", "2024/04/07 23:59:59", 20, "1", 1], [0, 1, 2, 5, 7], [3, 4, 5, 15, 6], cards([1, -1, 99]), cards([], 0)],
    [["b3.kvs", "2024/04/15 00:00:00", 30, "0", 0], [0, 4, 5, 8, 6], [10, 1, 2, 8, 7], cards(), cards([], 5)],
    [["b4.kvs", "", 40, "0", 0], [0, 4, 5, 9, 6], [3, 1, 2, 1, 7], cards(), cards([], 5)],
];
const read = () => viewer.readData(JSON.stringify({ app: "ミルダナ", strings: S, battles: rows.flatMap((r) => r.slice(0, 3).flat()) }));
const tables = viewer.readCardTables(JSON.stringify({
    cards: [["C1", "炎の仔竜", 1], ["C2", "氷の魔女", 0], ["C3", "森の小人", 0]], decks: [[0, 1]], statuses: {},
}));
const sidesText = `[\n${rows.map((r) => JSON.stringify(r.slice(3))).join(",\n")}\n]`;
const data = read();
const B = data.battles;

test("the data keeps each battle's facts as the player sees them, its cards once read", () => {
    assert.deepEqual(B.map((b) => [b.number, b.date, b.order, b.lead, b.savedSide]), [
        [1, "2024-04-01", "先攻", true, "サーバー"], [2, "2024-04-07", "後攻", false, "クライアント"],
        [3, "2024-04-15", "先攻", false, "サーバー"], [4, "", "先攻", true, "サーバー"]]);
    assert.equal(B[2].them.name, "a\u2028b\ud800</script>");
    assert.deepEqual(B[0].handCards, []);

    // One battle ahead of the others (its details opened), then the rest in slices
    // across the last line: as reading all at once.
    const whole = read().battles;
    viewer.sidesReader(sidesText, whole, tables).read(Infinity);
    const sides = viewer.sidesReader(sidesText, B, tables);
    sides.readBattle(3);
    assert.deepEqual([B[1].cards, B[2]], [null, whole[2]]);
    sides.read(3);
    assert.equal(sides.done, false);
    sides.read(3);
    assert.equal(sides.done, true);
    assert.deepEqual(B, whole);

    assert.deepEqual([B[0].handCards, B[0].discardCards, B[0].opponentDeckCards, B[2].opponentDeckCards],
        [[0, 0], [2, 2], [0, 1], []]);
    assert.equal(B[0].opponentDeckCards, B[1].opponentDeckCards, "a deck list shared, not copied");
    const mine = viewer.readSide(B[0], 0);
    assert.deepEqual([mine.name, mine.phase, mine.hand, mine.handCount], ["アリス", "先攻", [0, 0], 2]);
});

test("filters keep the battles every active key allows", () => {
    const cases = [
        [{}, [1, 2, 3, 4]],
        [{ from: "2024-04-07" }, [2, 3]],
        [{ to: "2024-04-07" }, [1, 2]],
        [{ from: "2024-04-02", to: "2024-04-14" }, [2]],
        [{ master: "炎帝" }, [1, 2]],
        [{ deck: "守り" }, [3, 4]],
        [{ opp: "ボブ" }, [1, 2, 4]],
        [{ oppmaster: "炎帝" }, [3, 4]],
        [{ order: "後攻" }, [2]],
        [{ q: "B3.KVS" }, [3]],
        [{ q: "ぼぶ" }, []],
        [{ q: "</script>" }, [3]],
        [{ q: " \t" }, [1, 2, 3, 4]],
        [{ master: "氷帝", opp: "ボブ" }, [4]],
    ];
    for (const [filter, numbers] of cases) {
        const state = { ...viewer.emptyFilter(), ...filter };
        assert.deepEqual(viewer.applyFilter(B, state).map((b) => b.number), numbers, JSON.stringify(filter));
        assert.equal(viewer.isFiltered(state), Object.values(filter).some((v) => v.trim() !== ""));
    }
});

test("the last days count back from today, across a month", () => {
    assert.deepEqual(viewer.lastDays(new Date(2024, 2, 3, 9), 7), { from: "2024-02-26", to: "2024-03-03" });
    assert.deepEqual(viewer.lastDays(new Date(2024, 0, 30), 30), { from: "2024-01-01", to: "2024-01-30" });
});

test("the fragment holds the filter and reads back only what it can use", () => {
    const filter = { ...viewer.emptyFilter(), from: "2024-04-01", opp: "カイト&A=B%", order: "先攻", q: "a b+c" };
    const fragment = viewer.toFragment(filter);
    assert.equal(fragment, "from=2024-04-01&opp=%E3%82%AB%E3%82%A4%E3%83%88%26A%3DB%25&order=%E5%85%88%E6%94%BB&q=a%20b%2Bc");
    assert.deepEqual(viewer.fromFragment(`#${fragment}`), filter);
    assert.equal(viewer.toFragment(viewer.emptyFilter()), "");
    const ignored = "#to=2024-4-1&from=2024-02-30&order=x&deck=%E3%81&what=1&opp&master=%E7%82%8E%E5%B8%9D";
    assert.deepEqual(viewer.fromFragment(ignored), { ...viewer.emptyFilter(), master: "炎帝" });
});

test("statistics add up over the chosen battles", () => {
    const summary = viewer.summary(B);
    assert.deepEqual([summary.count, summary.first, summary.last, summary.averageTurns], [4, "2024/04/01 10:00:00", "2024/04/15 00:00:00", 25]);
    assert.deepEqual(summary.lead, { part: 2, whole: 4, pct: 50, small: true });
    assert.deepEqual(viewer.summary([]).lead.pct, null);

    const masters = viewer.groupBy(B, (b) => b.me.master, (b) => b.me.deck);
    assert.deepEqual(masters.map((r) => [r.key, r.n, r.averageHp, r.averageOpponentHp, r.lead.pct, r.companion]),
        [["氷帝", 2, 8.5, 4.5, 50, "守り"], ["炎帝", 2, 12.5, 12.5, 50, "速攻"]]);

    // -1 (no identifier) and an index past the table are not counted.
    assert.deepEqual(viewer.topCards(B, (b) => b.handCards, 3, 5), { top: [[0, 2], [1, 1]], battles: 2 });
    assert.deepEqual(viewer.turnCounts(B), [[10, 1], [20, 1], [30, 1], [40, 1]]);

    const grid = viewer.matchups(B, 2);
    assert.deepEqual([grid.rows, grid.columns, grid.others], [["氷帝", "炎帝"], ["氷帝", "炎帝"], 0]);
    assert.deepEqual(grid.cells.map((row) => row.map((c) => [c.part, c.whole])), [[[0, 0], [1, 2]], [[1, 2], [0, 0]]]);
    assert.equal(viewer.matchups(B, 1).others, 4);
    assert.equal(viewer.share(10, 10).small, false);
});

test("weeks start on Monday and run without gaps", () => {
    assert.deepEqual(["2024-04-01", "2024-04-07", "2024-04-08", "2024-12-31"].map(viewer.weekOf),
        ["2024-04-01", "2024-04-01", "2024-04-08", "2024-12-30"]);
    assert.deepEqual(viewer.weeks(B).map((w) => [w.week, w.lead.whole, w.lead.part]),
        [["2024-04-01", 2, 1], ["2024-04-08", 0, 0], ["2024-04-15", 1, 0]]);
});
