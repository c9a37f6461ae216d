"use strict";
// The page: lays it out once, keeps the view's state (filter, sort, page, opened
// battles), redraws on each change and keeps the filter in the fragment. Events
// are handled by delegation on the page's main element.
(function (viewer) {
    const h = viewer.h;
    const PAGE_SIZE = 50;
    // The rows a tall window shows below the summary: the page's first screen has
    // these, the others of the list's page follow once it is drawn.
    const FIRST_ROWS = 12;
    const SORT_VALUES = {
        number: (b) => b.number, saved: (b) => b.saved, turns: (b) => b.turns, order: (b) => b.order,
        master: (b) => b.me.master, deck: (b) => b.me.deck, hp: (b) => b.me.hp, opp: (b) => b.them.name,
        oppmaster: (b) => b.them.master, oppdeck: (b) => b.them.deck, opphp: (b) => b.them.hp,
    };

    // The battles in the list's order; they are kept in number order already.
    function sorted(battles, sort) {
        if (sort.key === "number" && !sort.descending) return battles;
        const value = SORT_VALUES[sort.key] ?? SORT_VALUES.number;
        const sign = sort.descending ? -1 : 1;
        return battles.slice().sort((a, b) => {
            const x = value(a);
            const y = value(b);
            return (x < y ? -sign : x > y ? sign : 0) || a.number - b.number;
        });
    }

    // A data element's text; the element goes, so the page holds one copy.
    function take(id) {
        const element = document.getElementById(id);
        const text = element?.textContent ?? "";
        element?.remove();
        return text;
    }

    // Runs `job` once the whole page is parsed.
    function whenParsed(job) {
        if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", job, { once: true });
        else job();
    }

    // Runs `job` once the page has loaded: the cards' data after the script is
    // parsed, which work done meanwhile would only delay.
    function whenLoaded(job) {
        if (document.readyState !== "complete") window.addEventListener("load", job, { once: true });
        else job();
    }

    function start() {
        const root = document.getElementById("viewer");
        const data = viewer.readData(take("battles"));
        // The card tables and each battle's cards follow this script in the page,
        // so the first screen is drawn before they are parsed; read when first needed.
        let cardData = null;
        function cards() {
            if (!cardData) {
                const tables = viewer.readCardTables(take("cards") || "{}");
                cardData = { tables, sides: viewer.sidesReader(take("sides"), data.battles, tables) };
            }
            return cardData;
        }
        const saved = viewer.keptView();
        const state = {
            filter: viewer.fromFragment(location.hash),
            sort: saved?.sort ?? { key: "number", descending: false },
            page: saved?.page ?? 0,
            open: new Set(saved?.open ?? []),
        };
        let shown = [];

        // The first screen (the filters, the summary and the list's first rows) is
        // drawn at once; the filters made whole and the page's other rows once it
        // is shown, the statistics below when they come near (panels.js).
        const filters = viewer.drawFilterControls(matchMedia("(max-width: 700px)").matches);
        const count = h("p", { class: "count", id: "count", role: "status" });
        const summary = h("div", { class: "summary" });
        const stats = h("div", { id: "statistics" });
        const head = h("thead");
        const body = h("tbody", { id: "battle-rows" });
        const pager = h("nav", { class: "pager", "aria-label": "対戦一覧のページ" });
        const reload = h("input", { type: "checkbox", id: "auto-reload" });
        // Where the page's parts begin: on a phone the statistics are far below the list.
        const jumps = h("nav", { class: "jump", "aria-label": "ページ内の移動" },
            ...[["summary-title", "概要"], ["list-title", "対戦一覧"], ["stats-title", "統計"]]
                .map(([id, label]) => h("button", { type: "button", "data-jump": id }, `${label}へ`)));
        root.append(
            filters,
            count,
            jumps,
            h("section", { class: "panel", "aria-labelledby": "summary-title" },
                h("h2", { id: "summary-title", tabindex: "-1" }, "概要"),
                summary,
                h("p", { class: "note" }, "「自分」は戦況ファイルを保存した側、「相手」はもう一方の側です。",
                    "体力は保存した時点の値で、対戦の勝敗ではありません。＊は 10 戦未満の割合（参考値）です。")),
            h("section", { class: "panel", "aria-labelledby": "list-title" },
                h("h2", { id: "list-title", tabindex: "-1" }, "対戦一覧"),
                h("p", { class: "note" }, "日時は戦況ファイルの保存日時（ファイルの更新日時）です。",
                    "ファイルを別の PC にコピーすると変わることがあります。番号を押すと詳細が開きます。"),
                h("div", { class: "list-wrap" }, h("table", { class: "list" }, head, body)),
                pager),
            h("section", { class: "panel", "aria-labelledby": "stats-title" },
                h("h2", { id: "stats-title", tabindex: "-1" }, "統計"),
                stats),
            h("p", { class: "settings" }, reload,
                h("label", { for: "auto-reload" }, `開いている間 ${viewer.RELOAD_SECONDS} 秒ごとに読み込み直す（このブラウザーが覚えます）`)));
        root.hidden = false;
        const panels = viewer.statisticsPanels(stats, cards, () => shown);
        // What the first screen leaves for later: done once the page has loaded
        // and is idle, or at once for paper.
        const later = [];
        function doLater() {
            while (later.length > 0) later.shift()();
        }

        // The selects' choices are counted when first needed: when one is reached
        // or shows a filter.
        let choicesFilled = false;
        function fillChoices() {
            if (choicesFilled) return;
            choicesFilled = true;
            viewer.fillChoices(filters, data.battles);
        }

        function setControls() {
            for (const control of root.querySelectorAll("[data-filter]")) {
                const value = state.filter[control.dataset.filter];
                // A value no battle has is a choice only while the filter names it.
                for (const o of control.querySelectorAll("option[data-absent]")) if (o.value !== value) o.remove();
                if (value !== "" && control.tagName === "SELECT") {
                    fillChoices();
                    if (![...control.options].some((o) => o.value === value)) {
                        control.append(h("option", { value, "data-absent": "" }, `${value}（0）`));
                    }
                }
                if (control.value !== value) control.value = value;
            }
        }

        // The list's page: its first `rowsNow` rows at once, the others later
        // unless the list is drawn anew before.
        let listDrawings = 0;
        function drawList(rowsNow = PAGE_SIZE) {
            const pages = Math.max(1, Math.ceil(shown.length / PAGE_SIZE));
            state.page = Math.min(Math.max(0, state.page), pages - 1);
            const start = state.page * PAGE_SIZE;
            const rows = sorted(shown, state.sort).slice(start, start + PAGE_SIZE);
            const drawing = ++listDrawings;
            function addRows(from, to) {
                if (drawing !== listDrawings) return;
                const part = rows.slice(from, to);
                body.append(...viewer.drawListRows(part, state.open));
                for (const b of part) if (state.open.has(b.number)) showDetails(b.number);
            }
            head.replaceChildren(viewer.drawListHead(state.sort));
            body.replaceChildren();
            addRows(0, rowsNow);
            if (rows.length > rowsNow) later.push(() => addRows(rowsNow, rows.length));
            const button = (label, page) => h("button", {
                type: "button", "data-page": String(page), disabled: page < 0 || page >= pages || page === state.page,
            }, label);
            pager.replaceChildren(
                button("« 最初", 0), button("‹ 前へ", state.page - 1),
                h("span", null, shown.length === 0 ? "対戦がありません"
                    : `${start + 1}–${start + rows.length} / ${shown.length} 戦（${state.page + 1} / ${pages} ページ）`),
                button("次へ ›", state.page + 1), button("最後 »", pages - 1));
        }

        function showDetails(number) {
            if (document.readyState === "loading") return whenParsed(() => showDetails(number));
            const row = body.querySelector(`tr[data-battle="${number}"]`);
            if (!row || document.getElementById(`battle-${number}`)) return;
            cards().sides.readBattle(number);
            row.after(h("tr", { class: "detail", id: `battle-${number}` },
                h("td", { colspan: String(viewer.LIST_COLUMNS.length) }, viewer.drawDetails(data.battles[number - 1], cards().tables))));
        }

        // The view over the current filter; the statistics panels are drawn when
        // they come near the window (panels.js).
        function draw(rowsNow) {
            const began = performance.now();
            shown = viewer.applyFilter(data.battles, state.filter);
            const total = data.battles.length;
            const filtered = viewer.isFiltered(state.filter);
            const counted = filtered ? `${shown.length} / ${total} 戦` : `${total} 戦`;
            document.title = `${counted} — ${data.app} 対戦レポート`;
            count.textContent = filtered ? `${total} 戦のうち ${shown.length} 戦を表示しています` : `${total} 戦すべてを表示しています`;
            setControls();
            viewer.drawActiveFilters(document.getElementById("active-filters"), state.filter);
            summary.replaceChildren(viewer.drawTiles(viewer.summary(shown)));
            drawList(rowsNow);
            panels.redraw();
            root.dataset.drawMs = (performance.now() - began).toFixed(1);
        }

        // A new filter from the controls: drawn at once and written to the address.
        function setFilter(filter, replace) {
            if (viewer.sameFilter(filter, state.filter)) return;
            state.filter = filter;
            state.page = 0;
            const fragment = viewer.toFragment(filter);
            const address = fragment === "" ? location.pathname + location.search : `#${fragment}`;
            history[replace ? "replaceState" : "pushState"](null, "", address);
            draw();
        }

        function followAddress() {
            const filter = viewer.fromFragment(location.hash);
            if (viewer.sameFilter(filter, state.filter)) return;
            state.filter = filter;
            state.page = 0;
            draw();
        }

        root.addEventListener("change", (event) => {
            const key = event.target.dataset.filter;
            if (key && key !== "q") setFilter({ ...state.filter, [key]: event.target.value }, false);
        });
        // A search begun is a step back can undo; each letter more only replaces it.
        root.addEventListener("input", (event) => {
            if (event.target.dataset.filter === "q") setFilter({ ...state.filter, q: event.target.value }, state.filter.q !== "");
        });
        // A select reached gets its choices at once.
        const fillChoicesOfSelect = (event) => {
            if (event.target.tagName === "SELECT") fillChoices();
        };
        root.addEventListener("focusin", fillChoicesOfSelect);
        root.addEventListener("pointerdown", fillChoicesOfSelect);
        root.addEventListener("click", (event) => {
            const target = event.target.closest("button");
            if (!target) return;
            const d = target.dataset;
            if (d.days) {
                setFilter({ ...state.filter, ...viewer.lastDays(new Date(), Number(d.days)) }, false);
            } else if (d.remove) {
                setFilter({ ...state.filter, [d.remove]: "" }, false);
                viewer.focusFilterField(d.remove);
            } else if (d.clear !== undefined) {
                setFilter(viewer.emptyFilter(), false);
                viewer.focusFilterField("from");
            } else if (d.fold !== undefined) {
                viewer.foldFilters(target, target.getAttribute("aria-expanded") === "true");
            } else if (d.jump) {
                // The heading takes the focus, so the keyboard goes on from there.
                const heading = document.getElementById(d.jump);
                heading.scrollIntoView({ block: "start" });
                heading.focus({ preventScroll: true });
            } else if (d.sort) {
                const descending = state.sort.key === d.sort ? !state.sort.descending : false;
                state.sort = { key: d.sort, descending };
                drawList();
                head.querySelector(`[data-sort="${d.sort}"]`).focus();
            } else if (d.page) {
                // The focus stays on the button pressed, or the nearest one left
                // enabled, so that pressing 次へ again goes on.
                const at = [...pager.querySelectorAll("button")].indexOf(target);
                state.page = Number(d.page);
                drawList();
                const buttons = [...pager.querySelectorAll("button")];
                const distance = (b) => Math.abs(buttons.indexOf(b) - at);
                buttons.filter((b) => !b.disabled).sort((a, b) => distance(a) - distance(b))[0]?.focus();
            } else if (target.classList.contains("open")) {
                const number = Number(target.closest("tr").dataset.battle);
                const opening = !state.open.has(number);
                target.setAttribute("aria-expanded", String(opening));
                if (opening) {
                    state.open.add(number);
                    showDetails(number);
                } else {
                    state.open.delete(number);
                    document.getElementById(`battle-${number}`)?.remove();
                }
            }
        });
        window.addEventListener("hashchange", followAddress);
        window.addEventListener("popstate", followAddress);
        window.addEventListener("beforeprint", () => {
            doLater();
            whenParsed(() => panels.drawAll());
        });

        // A view kept over a reload is drawn whole, so that its scroll position is there.
        draw(saved ? PAGE_SIZE : FIRST_ROWS);
        // What is below the list is watched once the list is whole: the first
        // screen's short list would bring it near the window.
        later.push(() => whenParsed(() => panels.watch()),
            () => viewer.autoReload(reload, () =>
                ({ sort: state.sort, page: state.page, open: [...state.open], scroll: window.scrollY })));
        whenLoaded(() => viewer.whenIdle(doLater));
        if (saved?.scroll) window.scrollTo(0, saved.scroll);
        viewer.state = state;
    }

    if (typeof document !== "undefined") start();
})(globalThis.viewer ??= {});
