"use strict";
// Each battle's cards and statuses, which only the card statistics and a battle's
// details need. They are most of the page's data, so their JSON stays text until
// the first screen is drawn and is then read a slice of battles at a time, no task
// running long; the "sides" element holds one battle a line for that.
(function (viewer) {
    // A side's card row, in the order engine.tts writes it: piles and monsters are
    // arrays of indices into the card table (-1 for an empty slot or a card
    // without an identifier); the opponent's row adds an index into the decks.
    const SIDE_CARDS = ["stone", "statuses", "hand", "handCount", "draw", "drawCount", "discard", "discardCount",
        "monsters", "monsterStates", "monsterLevels", "monsterHps", "monsterStatuses"];
    const CARD_FIELDS = new Set(["hand", "draw", "discard", "monsters"]);
    const OPPONENT_DECK = SIDE_CARDS.length;
    const HAND = SIDE_CARDS.indexOf("hand");
    const DISCARD = SIDE_CARDS.indexOf("discard");

    const cardList = (value) => (Array.isArray(value) ? value : viewer.NO_CARDS);

    // The tables the card rows point into, from the "cards" element: { cards (the
    // card table: [id, name, rarity]), decks (card indices), statuses (id: [name, kind]) }.
    viewer.readCardTables = function (json) {
        const data = JSON.parse(json);
        return { cards: data.cards ?? [], decks: data.decks ?? [], statuses: data.statuses ?? {} };
    };

    function keepCards(b, row, tables) {
        const mine = Array.isArray(row?.[0]) ? row[0] : [];
        const theirs = Array.isArray(row?.[1]) ? row[1] : [];
        b.cards = [mine, theirs];
        b.handCards = cardList(mine[HAND]);
        b.discardCards = cardList(mine[DISCARD]).concat(cardList(theirs[DISCARD]));
        b.opponentDeckCards = cardList(tables.decks[theirs[OPPONENT_DECK]]);
    }

    // Reads the "sides" text ("[", then one battle's [mine, theirs] a line, then
    // "]") into `battles` in order: read(count) takes the next `count` battles,
    // done tells whether all are read, and readBattle(number) takes one battle
    // ahead of the others. The opponents' deck lists are shared with the tables,
    // not copied.
    viewer.sidesReader = function (text, battles, tables) {
        let at = text.indexOf("\n") + 1;
        let next = 0;
        // The offset after `lines` more lines from `from`, at most the text's last.
        function skip(from, lines) {
            let end = from;
            for (let n = 0; n < lines; n++) {
                const newline = text.indexOf("\n", end);
                if (newline < 0) break;
                end = newline + 1;
            }
            return end;
        }
        // The rows of the whole lines from `from` to `end`; every line but the last
        // battle's ends with the "," between battles.
        function rows(from, end) {
            const slice = text.slice(from, end - 1);
            return JSON.parse(`[${slice.endsWith(",") ? slice.slice(0, -1) : slice}]`);
        }
        return {
            get done() {
                return next >= battles.length;
            },
            read(count) {
                const end = skip(at, Math.min(count, battles.length - next));
                if (end === at) {
                    next = battles.length;
                    return;
                }
                for (const row of rows(at, end)) keepCards(battles[next++], row, tables);
                at = end;
            },
            readBattle(number) {
                const b = battles[number - 1];
                if (!b || b.cards) return;
                const from = skip(at, number - 1 - next);
                const end = skip(from, 1);
                if (end > from) keepCards(b, rows(from, end)[0], tables);
            },
        };
    };

    // Every fact of a battle's side (0 the player's, 1 the opponent's) for its
    // details: the names and numbers of data.js with the card row.
    viewer.readSide = function (b, index) {
        const side = { ...(index === 0 ? b.me : b.them) };
        const row = b.cards?.[index] ?? [];
        SIDE_CARDS.forEach((field, i) => {
            side[field] = CARD_FIELDS.has(field) ? cardList(row[i]) : row[i] ?? "";
        });
        return side;
    };
})(globalThis.viewer ??= {});
