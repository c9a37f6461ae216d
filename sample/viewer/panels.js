"use strict";
// The statistics panels below the first screen. Each is laid out at once as an
// empty block and drawn when it comes near the window, in a task of its own, so
// opening the page never waits for them. A change the user makes redraws the
// panels in the window at once (the card panel once the battles' cards are read,
// sides.js, a slice a task), those near in tasks of their own and the others when
// they come near. The region is aria-busy until it is watched and while a panel
// waits in the queue.
(function (viewer) {
    const h = viewer.h;
    // Battles whose cards one task reads: a few milliseconds' work.
    const SIDES_SLICE = 1000;
    const whenIdle = viewer.whenIdle;

    // The panels, each drawn from the chosen battles.
    function panelList(cardData) {
        const top = (shown, title, cards) => {
            const { tables } = cardData();
            return viewer.drawTopCards(title, viewer.topCards(shown, cards, tables.cards.length, 12), tables.cards);
        };
        return [
            { draw: (shown) => h("div", { class: "cols2" },
                viewer.drawGroupTable("マスターカード別（自分）", "マスターカード", "主なデッキ",
                    viewer.groupBy(shown, (b) => b.me.master, (b) => b.me.deck), 15),
                viewer.drawGroupTable("デッキ別（自分）", "デッキ", "主なマスターカード",
                    viewer.groupBy(shown, (b) => b.me.deck, (b) => b.me.master), 15)) },
            { draw: (shown) => viewer.drawGroupTable("相手別", "相手", "相手の主なマスターカード",
                viewer.groupBy(shown, (b) => b.them.name, (b) => b.them.master), 20) },
            { draw: (shown) => viewer.drawMatchups(viewer.matchups(shown, 8)) },
            { draw: (shown) => viewer.drawWeeks(viewer.weeks(shown)) },
            { cards: true, draw: (shown) => [
                h("h3", null, "よく見るカード"),
                h("div", { class: "cols" },
                    top(shown, "自分の手札", (b) => b.handCards),
                    top(shown, "捨札（両者）", (b) => b.discardCards),
                    top(shown, "相手のデッキ", (b) => b.opponentDeckCards)),
                h("p", { class: "legend" }, "レア度:", [0, 1, 2, 3, 4].map((r) =>
                    h("span", { class: `r${r}` }, h("i"), r === 4 ? "4 以上" : String(r))))] },
            { draw: (shown) => viewer.drawTurns(viewer.turnCounts(shown)) },
        ];
    }

    // The panels in `container`; cardData() gives the card tables and the sides.js
    // reader of the battles' cards, current() the chosen battles when a panel is
    // drawn. None is drawn before watch() (once the page is parsed) but for paper.
    viewer.statisticsPanels = function (container, cardData, current) {
        const panels = panelList(cardData).map((panel) =>
            ({ ...panel, element: h("div", { class: "later" }), stale: true, near: false, seen: false }));
        container.replaceChildren(...panels.map((panel) => panel.element));
        container.setAttribute("aria-busy", "true");
        const sides = () => cardData().sides;
        let jobs = [];
        const waiting = new Set();

        function draw(panel) {
            if (!panel.stale) return;
            panel.stale = false;
            panel.element.replaceChildren(...[panel.draw(current())].flat());
        }
        function readSides() {
            sides().read(SIDES_SLICE);
            if (!sides().done) jobs.unshift(readSides);
        }
        function step(deadline) {
            do jobs.shift()?.();
            while (jobs.length > 0 && deadline?.timeRemaining() > 5);
            if (jobs.length > 0) whenIdle(step);
            else container.setAttribute("aria-busy", "false");
        }
        // Draws `later` in tasks of their own, after the cards where they need them.
        function queue(later) {
            const fresh = later.filter((panel) => !waiting.has(panel));
            if (fresh.length === 0) return;
            if (jobs.length === 0) whenIdle(step);
            for (const panel of fresh) {
                waiting.add(panel);
                if (panel.cards) jobs.push(readSides);
                jobs.push(() => {
                    waiting.delete(panel);
                    draw(panel);
                });
            }
            container.setAttribute("aria-busy", "true");
        }

        // A panel in the window is seen; within a window's height of it, near.
        // Near panels are drawn when stale.
        const watch = (rootMargin, flag) => new IntersectionObserver((entries) => {
            for (const entry of entries) panels.find((panel) => panel.element === entry.target)[flag] = entry.isIntersecting;
            queue(panels.filter((panel) => panel.near && panel.stale));
        }, { rootMargin });

        return {
            watch() {
                container.setAttribute("aria-busy", "false");
                if (!("IntersectionObserver" in globalThis)) {
                    for (const panel of panels) panel.near = panel.seen = true;
                    return queue(panels.filter((panel) => panel.stale));
                }
                for (const observer of [watch("100% 0px", "near"), watch("0px", "seen")]) {
                    for (const panel of panels) observer.observe(panel.element);
                }
            },
            // The battles chosen anew: the panels in the window now (the card panel
            // once the cards are read), those near in tasks of their own, the others
            // when they come near.
            redraw() {
                for (const panel of panels) panel.stale = true;
                for (const panel of panels) if (panel.seen && (!panel.cards || sides().done)) draw(panel);
                queue(panels.filter((panel) => panel.near && panel.stale));
            },
            // Paper: every panel, the cards read at once.
            drawAll() {
                sides().read(Infinity);
                for (const panel of panels) draw(panel);
            },
        };
    };
})(globalThis.viewer ??= {});
