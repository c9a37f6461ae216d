"use strict";
// The statistics panels below the first screen. Each is laid out at once as an
// empty block; opening the page draws none of them until the region comes near the
// window, then one a task. A change the user makes draws them at once, but for the
// card panel while the battles' cards are still being read (sides.js, a slice a
// task). The region is aria-busy while any panel waits.
(function (viewer) {
    const h = viewer.h;
    // Battles whose cards one task reads: a few milliseconds' work.
    const SIDES_SLICE = 1000;
    // A job for when the page is idle, or soon where the browser cannot tell.
    const whenIdle = "requestIdleCallback" in globalThis
        ? (job) => requestIdleCallback(job, { timeout: 200 }) : (job) => setTimeout(job, 0);

    // The panels, each drawn from the chosen battles.
    function panelList(tables) {
        const top = (shown, title, cards) =>
            viewer.drawTopCards(title, viewer.topCards(shown, cards, tables.cards.length, 12), tables.cards);
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

    // The panels in `container`, over the card tables and the sides.js reader of
    // the battles' cards; current() gives the chosen battles when a panel is drawn.
    viewer.statisticsPanels = function (container, tables, sides, current) {
        const panels = panelList(tables).map((panel) => ({ ...panel, element: h("div", { class: "later" }) }));
        container.replaceChildren(...panels.map((panel) => panel.element));
        let jobs = [];
        let seen = null;

        const draw = (panel) => panel.element.replaceChildren(...[panel.draw(current())].flat());
        function readSides() {
            sides.read(SIDES_SLICE);
            if (!sides.done) jobs.unshift(readSides);
        }
        function step(deadline) {
            do jobs.shift()?.();
            while (jobs.length > 0 && deadline?.timeRemaining() > 5);
            if (jobs.length > 0) whenIdle(step);
            else container.setAttribute("aria-busy", "false");
        }
        function queue(later) {
            const idle = jobs.length === 0;
            jobs = later.flatMap((panel) => [...(panel.cards && !sides.done ? [readSides] : []), () => draw(panel)]);
            container.setAttribute("aria-busy", String(jobs.length > 0));
            if (idle && jobs.length > 0) whenIdle(step);
        }
        function stopWatching() {
            seen?.disconnect();
            seen = null;
        }

        return {
            // Opening the page: the panels once the region is within a window's
            // height of the window.
            drawWhenNear() {
                container.setAttribute("aria-busy", "true");
                if (!("IntersectionObserver" in globalThis)) return queue(panels);
                seen = new IntersectionObserver((entries) => {
                    if (!entries.some((entry) => entry.isIntersecting)) return;
                    stopWatching();
                    queue(panels);
                }, { rootMargin: "100% 0px" });
                seen.observe(container);
            },
            // A change the user made: every panel now, the card panel as soon as
            // the cards are read.
            drawNow() {
                stopWatching();
                const waiting = panels.filter((panel) => panel.cards && !sides.done);
                for (const panel of panels) if (!waiting.includes(panel)) draw(panel);
                queue(waiting);
            },
            // Paper: every panel, the cards read at once.
            drawAll() {
                stopWatching();
                sides.read(Infinity);
                queue([]);
                for (const panel of panels) draw(panel);
            },
        };
    };
})(globalThis.viewer ??= {});
