"use strict";
// The battles the page carries: the facts the first screen, the filters and most
// statistics use, read from the "battles" JSON element before anything is drawn.
// That element holds only names and numbers, BATTLE_FACTS values a battle in one
// flat array, so reading it stays cheap at 20,000 battles; each battle's cards
// come later from sides.js.
(function (viewer) {
    // A side's facts, in the order engine.tts writes them: names are indices into
    // the strings table.
    const SIDE_FACTS = ["name", "master", "deck", "hp", "phase"];
    // A battle's: file, saved time, turns, security level, saved by the client
    // (0 or 1), then the player's side and the opponent's.
    const BATTLE_FACTS = 5 + 2 * SIDE_FACTS.length;
    // What a battle without its cards counts in the card statistics.
    viewer.NO_CARDS = Object.freeze([]);

    // "2024/04/01 10:00:00" to "2024-04-01"; "" when the time could not be read.
    // Battles come a few a day and mostly in time order, so each day's text is
    // made once and the last day's is at hand without a look-up.
    const SAVED_DATE = /^(\d{4})\/(\d{2})\/(\d{2})$/;
    const dates = new Map();
    let lastDay = null;
    let lastDate = "";
    function localDate(saved) {
        if (lastDay !== null && saved.startsWith(lastDay)) return lastDate;
        const day = saved.slice(0, 10);
        let date = dates.get(day);
        if (date === undefined) {
            const m = SAVED_DATE.exec(day);
            date = m ? `${m[1]}-${m[2]}-${m[3]}` : "";
            dates.set(day, date);
        }
        if (day.length === 10) [lastDay, lastDate] = [day, date];
        return date;
    }

    // The page's data from the JSON text: { app, made, strings, battles }. Each
    // battle: number (1-based, in the order read), file, saved, date, turns, level,
    // savedSide, order (the player's 先攻 or 後攻), me and them ({ name, master,
    // deck, hp, phase }), lead (the player has more hit points at the save), and,
    // once sides.js has read them, cards (both sides' card rows) and the cards the
    // statistics count: handCards, discardCards (both sides) and opponentDeckCards.
    viewer.readData = function (json) {
        const data = JSON.parse(json);
        const strings = data.strings ?? [];
        const values = data.battles ?? [];
        const texts = Array.from(strings, (t) => (typeof t === "string" ? t : ""));
        const text = (i) => (Number.isInteger(i) ? texts[i] ?? "" : "");
        const side = (at) => ({
            name: text(values[at]), master: text(values[at + 1]), deck: text(values[at + 2]),
            hp: Number(values[at + 3]) || 0, phase: text(values[at + 4]),
        });
        const battles = [];
        for (let at = 0; at + BATTLE_FACTS <= values.length; at += BATTLE_FACTS) {
            const me = side(at + 5);
            const them = side(at + 5 + SIDE_FACTS.length);
            const saved = String(values[at + 1] ?? "");
            battles.push({
                number: battles.length + 1,
                file: String(values[at] ?? ""),
                saved,
                date: localDate(saved),
                turns: Number(values[at + 2]) || 0,
                level: String(values[at + 3] ?? ""),
                savedSide: values[at + 4] ? "クライアント" : "サーバー",
                order: me.phase,
                me,
                them,
                lead: me.hp > them.hp,
                cards: null,
                handCards: viewer.NO_CARDS,
                discardCards: viewer.NO_CARDS,
                opponentDeckCards: viewer.NO_CARDS,
            });
        }
        return { app: String(data.app ?? ""), made: String(data.made ?? ""), strings, battles };
    };
})(globalThis.viewer ??= {});
