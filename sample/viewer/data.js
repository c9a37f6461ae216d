"use strict";
// The battles the page carries: the JSON element read once and turned into plain
// objects that the filters, the statistics and the drawing share. The row layout
// is the one sample/engine.tts writes. Reading must stay cheap at 20,000 battles,
// so a battle keeps only what the filters and statistics use and its raw rows for
// the details drawn when it is opened; cards come as indices into one card table.
(function (viewer) {
    // A side's fields, in the order engine.tts writes them: names are indices into
    // the strings table, piles and monsters arrays of indices into the card table
    // (-1 for an empty slot or a card without an identifier).
    const SIDE = ["name", "master", "deck", "hp", "stone", "phase", "statuses", "hand", "handCount",
        "draw", "drawCount", "discard", "discardCount", "monsters", "monsterStates", "monsterLevels",
        "monsterHps", "monsterStatuses"];
    const STRING_FIELDS = new Set(["name", "master", "deck", "phase"]);
    const CARD_FIELDS = new Set(["hand", "draw", "discard", "monsters"]);

    const cardList = (value) => (Array.isArray(value) ? value : []);

    // Every field of a side, for its details.
    viewer.readSide = function (row, strings) {
        const side = {};
        SIDE.forEach((field, i) => {
            const value = row[i];
            side[field] = STRING_FIELDS.has(field) ? String(strings[value] ?? "")
                : CARD_FIELDS.has(field) ? cardList(value) : value ?? "";
        });
        return side;
    };

    // "2024/04/01 10:00:00" to "2024-04-01"; "" when the time could not be read.
    const SAVED_DATE = /^(\d{4})\/(\d{2})\/(\d{2})/;
    function localDate(saved) {
        const m = SAVED_DATE.exec(saved);
        return m ? `${m[1]}-${m[2]}-${m[3]}` : "";
    }

    // The page's data from the JSON text: { app, made, strings, cards (the card
    // table: [id, name, rarity]), statuses (id: [name, kind]), battles }. Each
    // battle: number (1-based, in the order read), file, saved, date, turns, level,
    // savedSide, order (the player's 先攻 or 後攻), me and them ({ name, master,
    // deck, hp }), lead (the player has more hit points at the save), rows (both
    // sides as written), and the cards the statistics count: handCards,
    // discardCards (both sides) and opponentDeckCards (shared by the battles with
    // the same deck list).
    viewer.readData = function (json) {
        const data = JSON.parse(json);
        const strings = data.strings ?? [];
        const decks = data.decks ?? [];
        const text = (i) => (typeof strings[i] === "string" ? strings[i] : "");
        const battles = (data.battles ?? []).map((row, i) => {
            const mine = Array.isArray(row[5]) ? row[5] : [];
            const theirs = Array.isArray(row[6]) ? row[6] : [];
            const me = { name: text(mine[0]), master: text(mine[1]), deck: text(mine[2]), hp: Number(mine[3]) || 0 };
            const them = { name: text(theirs[0]), master: text(theirs[1]), deck: text(theirs[2]), hp: Number(theirs[3]) || 0 };
            const saved = String(row[1] ?? "");
            return {
                number: i + 1,
                file: String(row[0] ?? ""),
                saved,
                date: localDate(saved),
                turns: Number(row[2]) || 0,
                level: String(row[3] ?? ""),
                savedSide: row[4] ? "クライアント" : "サーバー",
                order: text(mine[5]),
                me,
                them,
                lead: me.hp > them.hp,
                rows: [mine, theirs],
                handCards: cardList(mine[7]),
                discardCards: cardList(mine[11]).concat(cardList(theirs[11])),
                opponentDeckCards: cardList(decks[theirs[18]]),
            };
        });
        return {
            app: String(data.app ?? ""),
            made: String(data.made ?? ""),
            strings,
            cards: data.cards ?? [],
            statuses: data.statuses ?? {},
            battles,
        };
    };
})(globalThis.viewer ??= {});
