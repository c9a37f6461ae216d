"use strict";
// The drawing: elements built from the data with createElement and textContent
// only, so no text from a battle file is ever read as markup.
(function (viewer) {
    const SVG = "http://www.w3.org/2000/svg";

    // Appends children (nodes, texts, arrays of them; null and undefined left out).
    function appendAll(element, children) {
        for (const child of children) {
            if (Array.isArray(child)) appendAll(element, child);
            else if (child !== null && child !== undefined) element.append(child);
        }
    }

    // An element with attributes ("class", "aria-*", ...) and children (nodes or texts).
    // Plain loops: the first screen makes hundreds of elements before it is shown.
    function h(tag, attributes, ...children) {
        const element = document.createElement(tag);
        for (const name in attributes) {
            const value = attributes[name];
            if (value !== null && value !== undefined && value !== false) element.setAttribute(name, value);
        }
        appendAll(element, children);
        return element;
    }
    viewer.h = h;

    // Runs `job` when the page is idle, or soon where the browser cannot tell.
    viewer.whenIdle = "requestIdleCallback" in globalThis
        ? (job) => requestIdleCallback(job, { timeout: 200 }) : (job) => setTimeout(job, 0);

    function svg(tag, attributes, ...children) {
        const element = document.createElementNS(SVG, tag);
        for (const [name, value] of Object.entries(attributes ?? {})) element.setAttribute(name, value);
        element.append(...children);
        return element;
    }

    const fixed1 = (x) => (x === null ? "―" : x.toFixed(1));
    const shortTime = (saved) => saved.slice(0, 16);
    viewer.shortTime = shortTime;

    // A share as "50%" with the battles it rests on, small samples marked by "＊".
    function shareText(share) {
        if (share.pct === null) return h("span", { class: "none" }, "―");
        return h("span", { class: share.small ? "share small" : "share" },
            `${share.pct}%`, h("small", null, `（${share.whole} 戦）${share.small ? "＊" : ""}`));
    }

    function bar(part, whole, kind) {
        const width = whole === 0 ? 0 : Math.round((part * 1000) / whole) / 10;
        return h("span", { class: `bar ${kind}`, "aria-hidden": "true" },
            h("span", { style: `width:${width}%` }));
    }

    const nameOrNone = (text) => (text === "" ? h("span", { class: "none" }, "（名前なし）") : text);

    function section(title, ...content) {
        return h("section", { class: "stat" }, h("h3", null, title), ...content);
    }

    viewer.drawTiles = function (summary) {
        const tile = (value, label) => h("div", { class: "tile" }, h("b", null, value), h("span", null, label));
        const lead = summary.lead;
        return h("div", { class: "tiles" },
            tile(`${summary.count} 戦`, "対戦数"),
            tile(summary.first === "" ? "―" : summary.first.slice(0, 10),
                summary.last === "" ? "保存日時" : `〜 ${summary.last.slice(0, 10)}（保存日時）`),
            tile(fixed1(summary.averageTurns), "平均ターン数"),
            tile(lead.pct === null ? "―" : `${lead.pct}%`,
                `保存時点で自分の体力が上回っていた対戦（${lead.whole} 戦${lead.small ? "・＊少数" : ""}）`));
    };

    // A table of rows from viewer.groupBy, the first `limit` of them.
    viewer.drawGroupTable = function (title, nameHeader, companionHeader, rows, limit) {
        const most = rows.length === 0 ? 0 : rows[0].n;
        const body = rows.slice(0, limit).map((row) => h("tr", null,
            h("th", { scope: "row", class: "name" }, nameOrNone(row.key)),
            h("td", { class: "num" }, String(row.n), bar(row.n, most, "count")),
            h("td", { class: "num" }, fixed1(row.averageHp)),
            h("td", { class: "num" }, fixed1(row.averageOpponentHp)),
            h("td", { class: "num" }, shareText(row.lead), bar(row.lead.part, row.lead.whole, "lead")),
            h("td", { class: "name with" }, nameOrNone(row.companion))));
        const rest = rows.slice(limit);
        return section(title,
            rows.length === 0 ? h("p", { class: "none" }, "対戦がありません") : h("div", { class: "scroll" },
                h("table", { class: "group" },
                    h("thead", null,
                        h("tr", null,
                            h("th", { scope: "col" }, nameHeader),
                            h("th", { scope: "col", class: "num" }, "対戦"),
                            h("th", { scope: "col", class: "num" }, "平均体力", h("br"), h("small", null, "自分")),
                            h("th", { scope: "col", class: "num" }, "平均体力", h("br"), h("small", null, "相手")),
                            h("th", { scope: "col", class: "num" }, "上回った", h("br"), h("small", null, "保存時点")),
                            h("th", { scope: "col", class: "with" }, companionHeader))),
                    h("tbody", null, body))),
            rest.length === 0 ? null : h("p", { class: "note" },
                `ほか ${rest.length} 件（${rest.reduce((n, row) => n + row.n, 0)} 戦）`));
    };

    // The matchup grid from viewer.matchups.
    viewer.drawMatchups = function (grid) {
        if (grid.rows.length === 0) return section("マスターカードの組み合わせ", h("p", { class: "none" }, "対戦がありません"));
        return section("マスターカードの組み合わせ",
            h("p", { class: "note" }, "行が自分、列が相手のマスターカード。数は対戦数、% は自分の体力が上回っていた割合です。"),
            h("p", { class: "note scroll-cue" }, "表は横にスクロールできます。"),
            h("div", { class: "scroll", tabindex: "0", role: "region", "aria-label": "マスターカードの組み合わせ（横にスクロールできます）" },
                h("table", { class: "grid" },
                    h("thead", null, h("tr", null, h("th", { scope: "col" }, "自分＼相手"),
                        grid.columns.map((c) => h("th", { scope: "col", class: "num" }, nameOrNone(c))))),
                    h("tbody", null, grid.rows.map((r, i) => h("tr", null,
                        h("th", { scope: "row", class: "name" }, nameOrNone(r)),
                        grid.cells[i].map((cell) => h("td", { class: cell.whole === 0 ? "num empty" : "num" },
                            cell.whole === 0 ? "―" : [h("b", null, String(cell.whole)), h("br"),
                                h("small", null, `${cell.pct}%${cell.small ? "＊" : ""}`)]))))))),
            grid.others === 0 ? null : h("p", { class: "note" }, `ほかの組み合わせ ${grid.others} 戦`));
    };

    // The most seen cards from viewer.topCards; names and rarities from the card table.
    viewer.drawTopCards = function (title, result, cards) {
        if (result.top.length === 0) return section(title, h("p", { class: "none" }, "記録がありません"));
        const most = result.top[0][1];
        return section(title,
            h("p", { class: "note" }, `${result.battles} 戦から`),
            h("ol", { class: "top" }, result.top.map(([index, n]) => {
                const [id, name, rarity] = cards[index] ?? ["", "", 0];
                return h("li", { class: `r${Math.max(0, Math.min(4, Number(rarity) || 0))}` },
                    h("span", { class: "name" }, name === "" ? id : name),
                    h("span", { class: "num" }, String(n)), bar(n, most, "rare"));
            })));
    };

    // A bar chart as SVG: bars[i] = { label, value, title, group }, an optional
    // line of shares over it (viewer.share results; broken where a bar has none,
    // small samples as hollow points), axis labels about ten to a view and at least
    // `labelBars` bars apart, so wide labels do not overlap; a label whose group (a
    // year) is new has the group under it. A chart shrinks to its room down to 80 %
    // of its size, where its labels stay readable; a longer one scrolls instead, a
    // timeline (`latestFirst`) showing its latest end first.
    const BARS_IN_VIEW = 56; // at 80 % in the page's widest room of about 1,120 px
    function chart(label, bars, line, labelBars, latestFirst = false) {
        const width = Math.max(bars.length * 24 + 8, 120);
        const tallest = Math.max(1, ...bars.map((b) => b.value));
        // A chart that scrolls shows about as many bars at once as the widest one
        // that fits: about ten labels in view either way.
        const step = Math.max(labelBars, Math.ceil(Math.min(bars.length, BARS_IN_VIEW) / 10));
        let group;
        const marks = bars.map((b, i) => {
            const x = i * 24 + 6;
            const height = Math.round((b.value * 100) / tallest);
            const labelled = i % step === 0;
            const newGroup = labelled && b.group !== undefined && b.group !== group;
            if (newGroup) group = b.group;
            return svg("g", null, svg("title", null, b.title),
                svg("rect", { x, y: 120 - height, width: 20, height, class: "count" }),
                labelled ? svg("text", { x: x + 10, y: 134 }, b.label) : "",
                newGroup ? svg("text", { x: x + 10, y: 148 }, b.group) : "");
        });
        const runs = [[]];
        const points = [];
        (line ?? []).forEach((share, i) => {
            if (share.pct === null) {
                if (runs[runs.length - 1].length > 0) runs.push([]);
                return;
            }
            const [x, y] = [i * 24 + 16, 120 - share.pct];
            runs[runs.length - 1].push(`${x},${y}`);
            points.push(svg("circle", { cx: x, cy: y, r: 2.5, class: share.small ? "lead small" : "lead" }));
        });
        const drawing = svg("svg", { viewBox: `0 0 ${width} 150`, width, height: 150, role: "img", "aria-label": label },
            svg("line", { x1: 4, y1: 120.5, x2: width - 4, y2: 120.5, class: "axis" }),
            ...marks,
            ...runs.filter((run) => run.length > 1).map((run) => svg("polyline", { points: run.join(" "), class: "lead" })),
            ...points);
        // A chart narrower than this keeps the phones' least width (viewer.css).
        const readable = Math.round(width * 0.8);
        if (readable > 540) drawing.style.minWidth = `${readable}px`;
        const classes = latestFirst ? "chart latest-first" : "chart";
        return h("div", { class: classes, tabindex: "0", role: "region", "aria-label": `${label}（横にスクロールできます）` },
            h("p", { class: "note scroll-cue" }, "グラフは横にスクロールできます。"), drawing);
    }

    viewer.drawWeeks = function (weeks) {
        if (weeks.length === 0) return section("週ごとの対戦", h("p", { class: "none" }, "対戦がありません"));
        const bars = weeks.map((w) => ({
            label: w.week.slice(5).replace("-", "/"),
            group: w.week.slice(0, 4),
            value: w.lead.whole,
            title: `${w.week} の週: ${w.lead.whole} 戦` + (w.lead.pct === null ? "" : `・上回った ${w.lead.pct}%`),
        }));
        // The table of numbers is built when first opened: a long period has hundreds of weeks.
        const numbers = h("details", { class: "numbers" }, h("summary", null, "数値の表"));
        numbers.addEventListener("toggle", () => {
            if (!numbers.open || numbers.childElementCount > 1) return;
            numbers.append(h("div", { class: "scroll" }, h("table", null,
                h("thead", null, h("tr", null, h("th", { scope: "col" }, "週（月曜から）"),
                    h("th", { scope: "col", class: "num" }, "対戦"), h("th", { scope: "col", class: "num" }, "上回った"))),
                h("tbody", null, weeks.filter((w) => w.lead.whole > 0).map((w) => h("tr", null,
                    h("th", { scope: "row" }, w.week), h("td", { class: "num" }, String(w.lead.whole)),
                    h("td", { class: "num" }, shareText(w.lead))))))));
        });
        return section("週ごとの対戦",
            h("p", { class: "legend" }, h("span", { class: "key count" }, "棒: 対戦数"),
                h("span", { class: "key lead" }, "線と点: 自分の体力が上回っていた割合（上端が 100%。白抜きの点は 10 戦未満）")),
            chart("週ごとの対戦数と、自分の体力が上回っていた割合", bars, weeks.map((w) => w.lead), 2, true),
            numbers);
    };

    viewer.drawTurns = function (turns) {
        if (turns.length === 0) return section("ターン数の分布", h("p", { class: "none" }, "対戦がありません"));
        const low = turns[0][0];
        const high = turns[turns.length - 1][0];
        const width = Math.floor((high - low) / 30) + 1;
        const values = new Array(Math.floor((high - low) / width) + 1).fill(0);
        for (const [t, n] of turns) values[Math.floor((t - low) / width)] += n;
        const bars = values.map((value, i) => {
            const from = low + i * width;
            const range = width > 1 ? `${from}–${from + width - 1}` : String(from);
            return { label: String(from), value, title: `${range} ターン: ${value} 戦` };
        });
        return section("ターン数の分布", chart("ターン数ごとの対戦数", bars, null, 1),
            h("p", { class: "note" }, "横軸はターン数、棒の高さは対戦数です。"));
    };

    // ---- one battle's details ----

    function statusTags(ids, statuses) {
        const list = ids.split("/").filter((id) => id !== "");
        if (list.length === 0) return h("span", { class: "none" }, "なし");
        const kinds = { "!": "bad", S: "guard", P: "buff" };
        return list.map((id) => {
            const [name, kind] = statuses[id] ?? [id, ""];
            return h("span", { class: `tag ${kinds[kind] ?? "other"}` }, name === "" ? id : name);
        });
    }

    // A card's name from its index into the card table; "" when it has none.
    const cardName = (cards, index) => String(cards[index]?.[1] ?? "");

    function pile(title, indices, count, cards) {
        if (indices.length === 0 && count > 0) {
            return [h("h5", null, title), h("p", { class: "secret" }, `非公開（${count} 枚）`)];
        }
        return [h("h5", null, `${title} `, h("small", null, `${count} 枚`)),
            indices.length === 0 ? h("p", { class: "none" }, "なし") : h("p", { class: "cards" },
                indices.map((i) => cardName(cards, i) || "（不明なカード）").join("、"))];
    }

    function monsters(side, tables) {
        const item = (text, i) => String(text).split(",")[i] ?? "";
        const rows = [];
        const empty = [];
        for (let i = 0; i < 4; i++) {
            const state = item(side.monsterStates, i);
            if (state === "0" || state === "") {
                empty.push(i + 1);
                continue;
            }
            rows.push(h("tr", null, h("td", { class: "num" }, String(i + 1)),
                h("td", { class: "name" }, cardName(tables.cards, side.monsters[i]) || "（不明なカード）"),
                h("td", null, state === "1" ? "通常" : h("b", null, "行動済み")),
                h("td", { class: "num" }, item(side.monsterLevels, i)),
                h("td", { class: "num" }, item(side.monsterHps, i)),
                h("td", null, statusTags(item(side.monsterStatuses, i), tables.statuses))));
        }
        return [h("h5", null, "モンスター", empty.length === 0 ? null : h("small", null, ` 空き枠 ${empty.join(" ")}`)),
            rows.length === 0 ? h("p", { class: "none" }, "なし") : h("div", { class: "scroll" }, h("table", { class: "field" },
                h("thead", null, h("tr", null, ["枠", "名前", "状態", "Lv", "体力", "ステータス"].map((t) =>
                    h("th", { scope: "col" }, t)))),
                h("tbody", null, rows)))];
    }

    function sideCard(label, kind, side, tables) {
        const fact = (name, value, cls) => h("div", null, h("dt", null, name), h("dd", { class: cls }, value));
        return h("article", { class: `side ${kind}` },
            h("h4", null, h("span", { class: "who" }, label), h("span", { class: "pname" }, nameOrNone(side.name)),
                h("small", null, side.phase)),
            h("dl", { class: "facts" },
                fact("マスターカード", nameOrNone(side.master)), fact("体力", String(side.hp), "hp"),
                fact("デッキ", nameOrNone(side.deck)), fact("ストーン", String(side.stone))),
            h("p", { class: "status" }, h("span", { class: "label" }, "ステータス"), statusTags(side.statuses, tables.statuses)),
            pile("手札", side.hand, side.handCount, tables.cards),
            pile("山札", side.draw, side.drawCount, tables.cards),
            pile("捨札", side.discard, side.discardCount, tables.cards),
            monsters(side, tables));
    }

    // Both sides of one battle, as the details under its row; its cards must have
    // been read (sides.js). `tables` holds the card table and the statuses.
    viewer.drawDetails = function (b, tables) {
        return h("div", { class: "details" },
            h("div", { class: "sides" }, sideCard("自分", "me", viewer.readSide(b, 0), tables),
                sideCard("相手", "them", viewer.readSide(b, 1), tables)),
            h("p", { class: "meta" }, `${b.file}・保存した側 ${b.savedSide}・セキュリティレベル ${b.level}`));
    };

    // ---- the battle list ----

    viewer.LIST_COLUMNS = [
        { key: "number", label: "#", num: true },
        { key: "saved", label: "保存日時" },
        { key: "turns", label: "ターン", num: true },
        { key: "order", label: "先後" },
        { key: "master", label: "マスターカード" },
        { key: "deck", label: "デッキ" },
        { key: "hp", label: "体力", num: true },
        { key: "opp", label: "相手" },
        { key: "oppmaster", label: "相手のマスターカード" },
        { key: "oppdeck", label: "相手のデッキ" },
        { key: "opphp", label: "相手の体力", num: true },
    ];

    // The list's head: a sort button per column, aria-sort on the sorted one.
    viewer.drawListHead = function (sort) {
        return h("tr", null, viewer.LIST_COLUMNS.map((c) => h("th", {
            scope: "col",
            class: c.num ? "num" : null,
            "aria-sort": sort.key === c.key ? (sort.descending ? "descending" : "ascending") : null,
        }, h("button", { type: "button", class: "sort", "data-sort": c.key },
            c.label, h("span", { class: "arrow", "aria-hidden": "true" },
                sort.key === c.key ? (sort.descending ? "▼" : "▲") : "")))));
    };

    // A list row's cells, each with its column's name for the narrow layout; the
    // rows are copies of one made once, cheaper than building each cell anew.
    const ROW_CELLS = [
        ["保存日時", "date"], ["ターン", "num"], ["先後", null], ["マスターカード", "name"], ["デッキ", "name"],
        ["体力", "num hp"], ["相手", "name"], ["相手のマスターカード", "name"], ["相手のデッキ", "name"], ["相手の体力", "num hp"],
    ];
    let rowModel = null;
    function emptyRow() {
        rowModel ??= h("tr", null,
            h("td", { class: "num", "data-label": "#" }, h("button", { type: "button", class: "open" })),
            ROW_CELLS.map(([label, cls]) => h("td", { class: cls, "data-label": label })));
        return rowModel.cloneNode(true);
    }

    // One row per battle; the number opens the details (drawn when opened).
    viewer.drawListRows = function (battles, open) {
        return battles.map((b) => {
            const row = emptyRow();
            row.dataset.battle = String(b.number);
            const cells = row.cells;
            const button = cells[0].firstChild;
            button.setAttribute("aria-expanded", String(open.has(b.number)));
            button.setAttribute("aria-controls", `battle-${b.number}`);
            button.setAttribute("aria-label", `第 ${b.number} 戦の詳細`);
            button.textContent = String(b.number);
            const values = [shortTime(b.saved), String(b.turns), b.order, b.me.master, b.me.deck, String(b.me.hp),
                b.them.name, b.them.master, b.them.deck, String(b.them.hp)];
            values.forEach((value, i) => {
                if (value === "" && ROW_CELLS[i][1] === "name") cells[i + 1].append(nameOrNone(value));
                else cells[i + 1].textContent = value;
            });
            if (b.lead) cells[6].classList.add("lead");
            return row;
        });
    };
})(globalThis.viewer ??= {});
