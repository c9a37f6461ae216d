"use strict";
// The battles the page carries: the JSON element read once and turned into plain
// objects that the filters, the statistics and the drawing share. The row layout
// is the one sample/engine.tts writes.
(function (viewer) {
    // A side's fields, in the order engine.tts writes them.
    const SIDE = ["name", "master", "deck", "hp", "stone", "phase", "statuses", "hand", "handCount",
        "draw", "drawCount", "discard", "discardCount", "monsters", "monsterStates", "monsterLevels",
        "monsterHps", "monsterStatuses", "deckIds"];
    const TEXT_FIELDS = new Set(["name", "master", "deck", "phase", "deckIds"]);

    function ids(text) {
        return text ? text.split(",").filter((id) => id !== "") : [];
    }

    function readSide(row, strings) {
        const side = {};
        SIDE.forEach((field, i) => {
            const value = row[i];
            side[field] = TEXT_FIELDS.has(field) ? strings[value] ?? "" : value ?? "";
        });
        return side;
    }

    // "2024/04/01 10:00:00" to "2024-04-01"; "" when the time could not be read.
    function localDate(saved) {
        return /^\d{4}\/\d{2}\/\d{2}/.test(saved) ? saved.slice(0, 10).replaceAll("/", "-") : "";
    }

    // The page's data from the JSON text: { app, made, cards, statuses, battles }.
    // Each battle: number (1-based, in the order read), file, saved, date, turns,
    // level, savedSide, order (the player's 先攻 or 後攻), me, them, lead (the player
    // has more hit points at the save), the card ids the statistics count, and
    // `text`, the lower-cased texts the search looks in.
    viewer.readData = function (json) {
        const data = JSON.parse(json);
        const strings = data.strings ?? [];
        const deckCards = new Map();
        const battles = (data.battles ?? []).map((row, i) => {
            const me = readSide(row[5] ?? [], strings);
            const them = readSide(row[6] ?? [], strings);
            if (!deckCards.has(them.deckIds)) deckCards.set(them.deckIds, ids(them.deckIds));
            return {
                number: i + 1,
                file: String(row[0] ?? ""),
                saved: String(row[1] ?? ""),
                date: localDate(String(row[1] ?? "")),
                turns: Number(row[2]) || 0,
                level: String(row[3] ?? ""),
                savedSide: row[4] ? "クライアント" : "サーバー",
                order: me.phase,
                me,
                them,
                lead: me.hp > them.hp,
                handCards: ids(me.hand),
                discardCards: ids(me.discard).concat(ids(them.discard)),
                opponentDeckCards: deckCards.get(them.deckIds),
                text: [row[0], me.deck, them.name, them.deck].join("\n").toLowerCase(),
            };
        });
        return {
            app: String(data.app ?? ""),
            made: String(data.made ?? ""),
            cards: data.cards ?? {},
            statuses: data.statuses ?? {},
            battles,
        };
    };
})(globalThis.viewer ??= {});
