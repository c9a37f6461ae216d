"use strict";
// The statistics of a set of battles: pure functions of the battles (as data.js
// reads them), so they can be tested without a browser.
(function (viewer) {
    // Shares resting on fewer battles than this are marked as small samples.
    viewer.SMALL_SAMPLE = 10;

    // part of whole as a whole percent, with what it rests on; pct is null for 0 battles.
    viewer.share = function (part, whole) {
        return {
            part,
            whole,
            pct: whole === 0 ? null : Math.round((part * 100) / whole),
            small: whole < viewer.SMALL_SAMPLE,
        };
    };

    function countBy(values) {
        const counts = new Map();
        for (const value of values) counts.set(value, (counts.get(value) ?? 0) + 1);
        return counts;
    }

    // The key counted most, the first seen among equals.
    function mostCommon(counts) {
        let best = null;
        let most = 0;
        for (const [key, n] of counts) {
            if (n > most) {
                best = key;
                most = n;
            }
        }
        return best;
    }

    // The whole set: count, first and last saved time, average turns, leads.
    viewer.summary = function (battles) {
        let first = "";
        let last = "";
        let turns = 0;
        let leads = 0;
        for (const b of battles) {
            if (b.saved !== "" && (first === "" || b.saved < first)) first = b.saved;
            if (b.saved > last) last = b.saved;
            turns += b.turns;
            leads += b.lead ? 1 : 0;
        }
        return {
            count: battles.length,
            first,
            last,
            averageTurns: battles.length === 0 ? null : turns / battles.length,
            lead: viewer.share(leads, battles.length),
        };
    };

    // Rows per key(b), most battles first (then by key): battles, average hit
    // points of both sides, the share where the player leads, and the most
    // common companion(b).
    viewer.groupBy = function (battles, key, companion) {
        const groups = new Map();
        for (const b of battles) {
            const k = key(b);
            let g = groups.get(k);
            if (!g) {
                g = { key: k, n: 0, hp: 0, opponentHp: 0, leads: 0, companions: new Map() };
                groups.set(k, g);
            }
            g.n += 1;
            g.hp += b.me.hp;
            g.opponentHp += b.them.hp;
            g.leads += b.lead ? 1 : 0;
            const c = companion(b);
            g.companions.set(c, (g.companions.get(c) ?? 0) + 1);
        }
        return [...groups.values()]
            .sort((a, b) => b.n - a.n || (a.key < b.key ? -1 : a.key > b.key ? 1 : 0))
            .map((g) => ({
                key: g.key,
                n: g.n,
                averageHp: g.hp / g.n,
                averageOpponentHp: g.opponentHp / g.n,
                lead: viewer.share(g.leads, g.n),
                companion: mostCommon(g.companions),
            }));
    };

    // The `limit` cards that cards(b) (indices into a card table of `cardCount`
    // cards) lists most often over the battles, as [index, count], most first
    // (then by index), and how many battles showed any. Indices outside the table
    // (-1 for a card without an identifier) are not counted.
    viewer.topCards = function (battles, cards, cardCount, limit) {
        const counts = new Int32Array(cardCount);
        let battlesWithCards = 0;
        for (const b of battles) {
            const indices = cards(b);
            if (indices.length > 0) battlesWithCards += 1;
            for (let i = 0; i < indices.length; i++) {
                const index = indices[i];
                if (index >= 0 && index < cardCount) counts[index] += 1;
            }
        }
        const top = [];
        counts.forEach((n, index) => {
            if (n > 0) top.push([index, n]);
        });
        top.sort((a, b) => b[1] - a[1] || a[0] - b[0]);
        return { top: top.slice(0, limit), battles: battlesWithCards };
    };

    // [turns, battles] for every turn count seen, fewest turns first.
    viewer.turnCounts = function (battles) {
        return [...countBy(battles.map((b) => b.turns))].sort((a, b) => a[0] - b[0]);
    };

    // The player's master cards (rows) against the opponent's (columns), the
    // `limit` most frequent of each, with battles and leads per cell; the rest
    // are counted in `others`.
    viewer.matchups = function (battles, limit) {
        const top = (side) => [...countBy(battles.map((b) => b[side].master))]
            .sort((a, b) => b[1] - a[1] || (a[0] < b[0] ? -1 : 1))
            .slice(0, limit)
            .map(([name]) => name);
        const rows = top("me");
        const columns = top("them");
        const cells = rows.map(() => columns.map(() => ({ n: 0, leads: 0 })));
        let others = 0;
        for (const b of battles) {
            const r = rows.indexOf(b.me.master);
            const c = columns.indexOf(b.them.master);
            if (r < 0 || c < 0) {
                others += 1;
                continue;
            }
            cells[r][c].n += 1;
            cells[r][c].leads += b.lead ? 1 : 0;
        }
        return {
            rows,
            columns,
            cells: cells.map((row) => row.map((cell) => viewer.share(cell.leads, cell.n))),
            others,
        };
    };

    // The Monday starting the week of a "YYYY-MM-DD" date, as "YYYY-MM-DD".
    viewer.weekOf = function (date) {
        const [y, m, d] = date.split("-").map(Number);
        const day = new Date(Date.UTC(y, m - 1, d));
        day.setUTCDate(day.getUTCDate() - ((day.getUTCDay() + 6) % 7));
        return day.toISOString().slice(0, 10);
    };

    const weekOfDate = new Map();

    // Every week from the first battle's to the last's, empty weeks included:
    // { week, lead } with lead a share over the week's battles. Battles without a
    // readable date are left out.
    viewer.weeks = function (battles) {
        const byWeek = new Map();
        for (const b of battles) {
            if (b.date === "") continue;
            let week = weekOfDate.get(b.date);
            if (week === undefined) {
                week = viewer.weekOf(b.date);
                weekOfDate.set(b.date, week);
            }
            const w = byWeek.get(week) ?? { n: 0, leads: 0 };
            w.n += 1;
            w.leads += b.lead ? 1 : 0;
            byWeek.set(week, w);
        }
        if (byWeek.size === 0) return [];
        const keys = [...byWeek.keys()].sort();
        const result = [];
        const day = new Date(`${keys[0]}T00:00:00Z`);
        for (let week = keys[0]; week <= keys[keys.length - 1];) {
            const w = byWeek.get(week) ?? { n: 0, leads: 0 };
            result.push({ week, lead: viewer.share(w.leads, w.n) });
            day.setUTCDate(day.getUTCDate() + 7);
            week = day.toISOString().slice(0, 10);
        }
        return result;
    };
})(globalThis.viewer ??= {});
